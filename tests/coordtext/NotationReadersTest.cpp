// The notations of single coordinates end to end, each with its table: what a line in the
// notation gives, and where the notation is there but gives no point. The readers alone are
// tested in ReadersAloneTest.
#include <gtest/gtest.h>

#include "tests/coordtext/LineCases.h"

namespace zelkora {

namespace {

using R = NoPointReason;

TEST(MarkedNotation, DegreesMinutesAndSecondsByTheirMarks) {
    const LineCase cases[] = {
        point("all three marks", u"48\u00B028\u203249\u2033N 135\u00B004\u203219\u2033E",
              dms(48, 28, 49), dms(135, 4, 19)),
        point("masculine ordinal, apostrophe, quote", u"48\u00BA28'49\"N 135\u00BA04'19\"E",
              dms(48, 28, 49), dms(135, 4, 19)),
        point("ring above, typographic quotes",
              u"48\u02DA28\u201949\u201DN 135\u02DA04\u201919\u201DE", dms(48, 28, 49),
              dms(135, 4, 19)),
        point("acute accents, two of them for seconds",
              u"37\u00B052\u00B435\u00B4\u00B4N 90\u00B018\u00B418\u00B4\u00B4W", dms(37, 52, 35),
              -dms(90, 18, 18)),
        point("modifier primes and the ditto mark",
              u"48\u00B028\u02B949\u02BAN 135\u00B004\u02B919\u3003E", dms(48, 28, 49),
              dms(135, 4, 19)),
        point("grave accent as the minute mark", u"48\u00B028`N 135\u00B004`E", dms(48, 28),
              dms(135, 4)),
        point("decimal minutes", u"N 48\u00B0 28.817' E 135\u00B0 04.317'", dms(48, 28.817),
              dms(135, 4.317)),
        point("decimal commas in the seconds", u"46\u00BA38'23,6N 142\u00BA54'04,8E",
              dms(46, 38, 23.6), dms(142, 54, 4.8)),
        point("d, m and s", u"48d 28m 49s N 135d 4m 19s E", dms(48, 28, 49), dms(135, 4, 19)),
        point("Chinese marks", u"\u5317\u7EAC43\u5EA607\u5206\u3001\u4E1C\u7ECF131\u5EA654\u5206",
              dms(43, 7), dms(131, 54)),
        point("the word deg", u"48 deg 28 min N, 135 deg 4 min E", dms(48, 28), dms(135, 4)),
        point("decimal degrees with the mark", u"48.48028\u00B0N 135.07194\u00B0E", 48.48028,
              135.07194),
        point("a blank before the degree mark", u"48 \u00B0 28'N 135 \u00B0 04'E", dms(48, 28),
              dms(135, 4)),
        point("numbers after the degree mark take the places left",
              u"N 35\u00B0 44 37 E 127\u00B0 40 30", dms(35, 44, 37), dms(127, 40, 30)),
        point("degrees before marked minutes", u"48 28'N 135 04'E", dms(48, 28), dms(135, 4)),
        none("one latitude, whatever else is there", u"\u2026 Dagda River \u2013 48 \u00B0 28'N.",
             R::oneAxis),
        none("minutes of 60", u"48\u00B060'N 135\u00B004'E", R::badNumbers),
        none("decimal degrees with minutes", u"48.5\u00B028'N 135\u00B004'E", R::badNumbers),
        none("seconds with nothing before them", u"28'49\"N 135\u00B004'19\"E", R::badNumbers),
        none("seconds of 409: decimal minutes written as seconds",
             u"N 48 \u00BA 38 ' 409 '', E 131 \u00BA 37 ' 217 ''", R::badNumbers),
    };
    expectLines(cases);
}

TEST(BareNumbers, GroupsBetweenLettersAndSeparators) {
    const LineCase cases[] = {
        point("a decimal pair", u"43.1155 131.8855", 43.1155, 131.8855),
        point("decimal commas", u"53,1 158,2", 53.1, 158.2),
        point("the table's own cell", u"53.100000, 158.200000", 53.1, 158.2),
        point("four numbers: degrees and minutes", u"48 51.640 138 04.035", dms(48, 51.640),
              dms(138, 4.035)),
        point("six numbers: degrees, minutes, seconds", u"34 41 26 125 11 50", dms(34, 41, 26),
              dms(125, 11, 50)),
        point("letters part the groups", u"N35 47 42.7 E127 40 04.3", dms(35, 47, 42.7),
              dms(127, 40, 4.3)),
        point("suffix letters part them too", u"34 41 26N 125 11 50E", dms(34, 41, 26),
              dms(125, 11, 50)),
        point("a comma parts them", u"48 28 49, 135 04 19", dms(48, 28, 49), dms(135, 4, 19)),
        point("a station number alone is left out", u"Point 3: 43.1 131.5", 43.1, 131.5),
        point("signed degrees sign the coordinate", u"-33 27 00 -70 40 00", -dms(33, 27),
              -dms(70, 40)),
        none("three numbers in a row", u"48.480278 135.071944 72", R::badNumbers),
        none("groups written unlike", u"12|5 3", R::badNumbers),
        none("five numbers", u"1 2 3 4 5", R::badNumbers),
        none("a lone number", u"Plot 12, near the river", R::noCoordinates),
        none("minutes of 75", u"48 75.5 135 04.3", R::badNumbers),
        none("latitude beyond 90", u"90.000001 135", R::outOfRange),
        none("the other order without letters", u"131.8855 43.1155", R::outOfRange),
    };
    expectLines(cases);
}

TEST(RunTogetherNotation, DegreesMinutesAndSecondsRunTogether) {
    const LineCase cases[] = {
        point("aviation DDMMSS and DDDMMSS", u"211318N 1054820E", dms(21, 13, 18),
              dms(105, 48, 20)),
        point("run together without a blank", u"204901N1064323E", dms(20, 49, 1), dms(106, 43, 23)),
        point("leading zero of the longitude", u"443416N 0260506E", dms(44, 34, 16), dms(26, 5, 6)),
        point("decimal seconds", u"162402.46N 1074208.98E", dms(16, 24, 2.46), dms(107, 42, 8.98)),
        point("NMEA fields DDMM.mmm", u"4807.038,N,01131.000,E", dms(48, 7.038), dms(11, 31)),
        point("prefixed letters with decimals", u"N4007.38 W07407.38", dms(40, 7.38),
              -dms(74, 7.38)),
        point("leading zeros need no letter", u"0123.5 01234.5", dms(1, 23.5), dms(12, 34.5)),
        none("a height or an easting", u"E 412345 N 1234512", R::noCoordinates),
        none("three degree digits are no latitude", u"40012.5N 135.5E", R::outOfRange),
        none("minutes of 75", u"4075.5N 135E", R::badNumbers),
        none("eight digits", u"12345678N 135E", R::badNumbers),
    };
    expectLines(cases);
}

TEST(ColonNotation, DegreesAndMinutesJoinedByColons) {
    const LineCase cases[] = {
        point("decimal minutes", u"17:15.7N 111:16.3E", dms(17, 15.7), dms(111, 16.3)),
        point("whole minutes, west", u"40:07N 74:07W", dms(40, 7), -dms(74, 7)),
        point("seconds", u"48:28:49N 135:04:19E", dms(48, 28, 49), dms(135, 4, 19)),
        point("a time is no coordinate", u"10:35 43.1155 131.8855", 43.1155, 131.8855),
        none("minutes of 60", u"17:60N 111:16E", R::badNumbers),
    };
    expectLines(cases);
}

TEST(DottedNotation, DegreesMinutesAndSecondsJoinedByPoints) {
    const LineCase cases[] = {
        point("south and east", u"27.15.45S 18.32.53E", -dms(27, 15, 45), dms(18, 32, 53)),
        point("decimal seconds", u"27.15.45.5S 18.32.53.2E", -dms(27, 15, 45.5), dms(18, 32, 53.2)),
        point("a date with its year is no coordinate", u"12.06.2015, 43.1155 131.8855", 43.1155,
              131.8855),
        none("no letter: a date or a version, and the numbers beside it no pair", u"1.2.3 4 5",
             R::noEvidence),
    };
    expectLines(cases);
}

TEST(ShipReportNotation, LatitudeSlashLongitude) {
    const LineCase cases[] = {
        point("north and east", u"3016N/12303E", dms(30, 16), dms(123, 3)),
        point("after the course field", u"C/1742S/14618E", -dms(17, 42), dms(146, 18)),
        point("in a report's sentence",
              u"Position at noon 03.07.2021: 4330N/13152E, course 045, speed 12 kn", dms(43, 30),
              dms(131, 52)),
        none("a latitude of 99 degrees", u"9948S/14618E", R::outOfRange),
        none("a longitude of 673 degrees", u"1742S/67332E", R::outOfRange),
    };
    expectLines(cases);
}

}  // namespace

}  // namespace zelkora
