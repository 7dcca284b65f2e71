// The normaliser's rules, one row a behaviour, each with its reason.
#include <gtest/gtest.h>

#include "coordtext/Normaliser.h"
#include "tests/coordtext/LineCases.h"

namespace zelkora {

namespace {

using R = NoPointReason;

TEST(Normaliser, TheMarksCount) {
    const LineCase cases[] = {
        point("degrees and minutes are one coordinate, whatever the count of numbers",
              u"48\u00B0 28' N 135\u00B0 4' E", dms(48, 28), dms(135, 4)),
        none("48° 28'N alone names a latitude only", u"48 \u00B0 28'N", R::oneAxis),
        none("so it is never the point 48, 28", u"River \u2013 48 \u00B0 28'", R::oneAxis),
    };
    expectLines(cases);
}

TEST(Normaliser, NamedAxesInAnyOrder) {
    const LineCase cases[] = {
        point("longitude named first", u"131\u00B0 54' E 43\u00B0 08' N", dms(43, 8), dms(131, 54)),
        point("only the longitude named: the other number is the latitude", u"43.1155, 131.8855 E",
              43.1155, 131.8855),
        point("only the latitude named", u"43.1155 N, 131.8855", 43.1155, 131.8855),
        point("the same with degrees", u"48\u00B028\u203249\u2033 135\u00B004\u203219\u2033 E",
              dms(48, 28, 49), dms(135, 4, 19)),
        point("a suffix, then a prefix after the separator",
              u"57\u00B055\u2032N, E 34\u00B025\u2032", dms(57, 55), dms(34, 25)),
        point("N beside a number that has its letter goes to the other", u"N 48.5 E 135.2", 48.5,
              135.2),
        point("axis words with labels", u"lon=12.5&lat=41.9", 41.9, 12.5),
        none("a letter either number may take, and the point changes", u"48.5 N 35.2",
             R::ambiguousLetter),
        none("two letters of one axis", u"48.5 N 35.2 S", R::sameAxisTwice),
        none("two latitude letters on one number", u"N 48.5 S, 135.2", R::sameAxisTwice),
        none("a minus sign and N", u"-48.5 N 135.2 E", R::badNumbers),
        point("a letter before a word names no number", u"W Kamchatka 57.1 156.8", 57.1, 156.8),
        point("after a number a letter is its hemisphere, a name may follow",
              u"66\u00B009\u203235\u2033N 169\u00B048\u203233\u2033W Uelen", dms(66, 9, 35),
              -dms(169, 48, 33)),
        none("O is west in Spanish and east in German", u"48\u00B0 29\u2032 N, 135\u00B0 5\u2032 O",
             R::unreadableLetter),
        none("beside Đ, N is Nam", u"33\u00B052\u2032N 151\u00B012\u2032\u0110",
             R::unreadableLetter),
    };
    expectLines(cases);
}

TEST(Normaliser, WordsForTheAxes) {
    const LineCase cases[] = {
        point("Russian abbreviations",
              u"43\u00B007\u2032 \u044E. \u0448., 131\u00B054\u2032 \u0437. \u0434.", -dms(43, 7),
              -dms(131, 54)),
        point("Russian, run together and in capitals",
              u"43\u00B007\u2032 \u0421.\u0428. 131\u00B054\u2032 \u0412.\u0414.", dms(43, 7),
              dms(131, 54)),
        point("Russian words",
              u"43\u00B007\u2032 \u0441\u0435\u0432\u0435\u0440\u043D\u043E\u0439 "
              u"\u0448\u0438\u0440\u043E\u0442\u044B, 131\u00B054\u2032 "
              u"\u0432\u043E\u0441\u0442\u043E\u0447\u043D\u043E\u0439 "
              u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B",
              dms(43, 7), dms(131, 54)),
        point("Russian axis names before",
              u"\u0448\u0438\u0440\u043E\u0442\u0430 43.1155, "
              u"\u0434\u043E\u043B\u0433\u043E\u0442\u0430 131.8855",
              43.1155, 131.8855),
        point("Ukrainian",
              u"50\u00B027\u2032 \u043F\u043D. \u0448. 30\u00B031\u2032 \u0441\u0445. \u0434.",
              dms(50, 27), dms(30, 31)),
        point("Vietnamese words",
              u"20\u00B019\u2032 v\u0129 \u0111\u1ED9 B\u1EAFc, 105\u00B036\u2032 kinh "
              u"\u0111\u1ED9 \u0110\u00F4ng",
              dms(20, 19), dms(105, 36)),
        point("Vietnamese short words",
              u"21\u00B001\u2032 v\u0129 B\u1EAFc 105\u00B051\u2032 kinh \u0110\u00F4ng",
              dms(21, 1), dms(105, 51)),
        point("Vietnamese letters", u"21\u00B001\u203242\u2033B 105\u00B051\u203215\u2033\u0110",
              dms(21, 1, 42), dms(105, 51, 15)),
        point("Chinese", u"\u5317\u7EAC43\u00B007\u2032 \u4E1C\u7ECF131\u00B054\u2032", dms(43, 7),
              dms(131, 54)),
        point("Japanese", u"\u5317\u7DEF43\u5EA607\u5206 \u6771\u7D4C131\u5EA654\u5206", dms(43, 7),
              dms(131, 54)),
        point("English words", u"33\u00B027\u2032 South latitude, 70\u00B040\u2032 West longitude",
              -dms(33, 27), -dms(70, 40)),
        point("French", u"48\u00B0 28\u2032 49\u2033 nord, 135\u00B0 04\u2032 19\u2033 est",
              dms(48, 28, 49), dms(135, 4, 19)),
        point("Spanish", u"33\u00B027\u2032 sur, 70\u00B040\u2032 oeste", -dms(33, 27),
              -dms(70, 40)),
        point("Czech",
              u"49\u00B012\u2032 severn\u00ED \u0161\u00ED\u0159ky, 16\u00B036\u2032 "
              u"v\u00FDchodn\u00ED d\u00E9lky",
              dms(49, 12), dms(16, 36)),
        point("Polish", u"52\u00B013\u2032 N szer. 21\u00B001\u2032 E d\u0142.", dms(52, 13),
              dms(21, 1)),
        point("a place name is no hemisphere", u"T\u00E2y Ninh, Vi\u1EC7t Nam: 11.31 106.1", 11.31,
              106.1),
    };
    expectLines(cases);
}

TEST(Normaliser, CoordinatesInsideASentence) {
    const LineCase cases[] = {
        point("altitude, date, collector and count",
              u"Russia, Primorsky Krai, Khasan District, 43\u00B006'N, 131\u00B033'E, 150 m, "
              u"12.VI.2015, leg. A. Ivanov, 1\u2642",
              dms(43, 6), dms(131, 33)),
        point("feet, a date with a month's name", u"43.1155 131.8855, 314 FT, 12 April 2022",
              43.1155, 131.8855),
        point("metres above sea level and a year", u"600 m a.s.l., 2010, 43.1155 131.8855", 43.1155,
              131.8855),
        point("distance and temperature", u"32.5 km N of the town, 24.8\u00B0C, 43.1155 131.8855",
              43.1155, 131.8855),
        point("magnetic variation", u"ARP 211318N 1054820E, MAG VAR 5\u00B0E (2010)",
              dms(21, 13, 18), dms(105, 48, 20)),
        point("a time and a speed", u"10:35, 12 kn, 43.1155 131.8855", 43.1155, 131.8855),
        point("a list number", u"1. 43.1155 131.8855", 43.1155, 131.8855),
        point("one point in several forms agreeing within their rounding",
              u"45\u00B020\u2032N 134\u00B040\u2032E / 45.333\u00B0N 134.667\u00B0E / 45.333; "
              u"134.667",
              45.333, 134.667),
        none("two different points", u"43.1155 N 131.8855 E; 48.4803 N 135.0719 E",
             R::severalPoints),
        none("a range with a dash",
             u"21\u00B0\u201322\u00B0 v\u0129 B\u1EAFc, 105\u00B0 kinh \u0110\u00F4ng", R::range),
        none("a range with words", u"from 43.1 to 43.5 N, 131.9 E", R::range),
        none("a range in Russian", u"43 \u0434\u043E 44\u00B0 \u0441. \u0448.", R::range),
        none("alternatives", u"43.1 or 43.2 N, 131.9 E", R::range),
        none("a range of minutes", u"N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019",
             R::range),
    };
    expectLines(cases);
}

// Beyond what one point is written in, a line is read as none at once, whatever it holds.
TEST(Normaliser, ALineOfThousandsOfPartsIsNoPoint) {
    const QString line = QStringLiteral("43.1 131.9 ") + QStringLiteral("N ").repeated(5000);
    const LineReading reading = readPointLine(line);
    EXPECT_FALSE(reading.point.has_value());
    EXPECT_EQ(reading.reason, NoPointReason::tooLong);
}

}  // namespace

}  // namespace zelkora
