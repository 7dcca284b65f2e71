#include <gtest/gtest.h>

#include <cmath>

#include "tests/table/QtPrinters.h"

#include "common/ZelkoraError.h"
#include "table/CommaText.h"
#include "table/CoordFormat.h"
#include "table/StrToFloat.h"
#include "table/myParser.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

// One pasted line and what the normaliser makes of it: "lat, lon" or no point.
struct ParserCase {
    const char* why;
    const char16_t* line;
    const char* result;
};

const ParserCase kCases[] = {
    // The reference lines.
    {"reference 1", u"0.165454 0.998412", "0.165454, 0.998412"},
    {"reference 2: degrees and decimal minutes", u" N 48 51.640 E 138 04.035",
     "48.860667, 138.067250"},
    {"reference 3", u" (53\u00B056'27\"N 158\u00B001'31\"E)", "53.940833, 158.025278"},
    {"reference 4", u" (43\u00B0N 146\u00B0E)", "43.000000, 146.000000"},
    {"reference 5", u" (48\u00B050'05.0\"N 138\u00B004'45.0\"E)", "48.834722, 138.079167"},
    {"reference 6: two ranges, a dash after a quote is a minus",
     u" (N 35\u00B0 44' 37\"-36\u00B0 59' 40\" E 127\u00B0 40'30\"-127\u00B0 49'45\")", ""},
    {"reference 7", u" N35 47 42.7 E127 40 04.3", "35.795194, 127.667861"},
    {"reference 8: a range, never seconds of 680",
     u" N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019", ""},
    {"reference 9", u" (63\u00B0 15\u2019 50.9\u2019\u2019N 151\u00B0 03\u2019 27.4\u2019\u2019E)",
     "63.264139, 151.057611"},
    {"reference 10", u" (48\u00B051'39\"N 138\u00B004'02\"E)", "48.860833, 138.067222"},
    {"reference 11", u" 34 41 26N 125 11 50E", "34.690556, 125.197222"},
    {"reference 12: W makes the longitude western",
     u" (37\u00B052\u00B435\u00B4\u00B4N  90\u00B018\u00B418\u00B4\u00B4W)",
     "37.876389, -90.305000"},
    {"reference 13", u" N51\u00B039'7\u2033 E140\u00B054'53\u2033", "51.651944, 140.914722"},
    {"reference 14: a dash between blanks separates", u" (43\u00B007'04\"N - 131\u00B028'23\"E)",
     "43.117778, 131.473056"},
    {"reference 15", u" N 43\u00B036'29,0\" E 132\u00B014'59,5\"", "43.608056, 132.249861"},
    {"reference 16", u" 46\u00BA38'23,6N 142\u00BA54'04,8E", "46.639889, 142.901333"},
    {"reference 17", u" 43\u00B052\u201917,0\u201DN 146\u00B051\u201918,1\u201DE",
     "43.871389, 146.855028"},

    // Signs.
    {"signs: both minus signs kept", u"-33.5 -70.6", "-33.500000, -70.600000"},
    {"signs: U+2212 is a minus too", u"\u221233.5, \u221270.6", "-33.500000, -70.600000"},
    {"signs: a minus before a point and a digit", u"-.5 -.25", "-0.500000, -0.250000"},
    {"signs: a dash between two numbers is a range", u"43.1-131.9", ""},
    {"signs: a dash after a point is a range too", u"48.-5 135", ""},
    {"signs: a minus on the degrees signs the whole coordinate", u"-33 30 00 -70 40 00",
     "-33.500000, -70.666667"},
    {"signs: minus zero is written as zero", u"-0 -0.0000004", "0.000000, 0.000000"},

    // Commas, left to right.
    {"commas: the table's own cell pastes back", u"53.1, 158.2", "53.100000, 158.200000"},
    {"commas: decimal commas", u"53,1 158,2", "53.100000, 158.200000"},
    {"commas: decimal, then list, then decimal", u"48,5,135,25", "48.500000, 135.250000"},
    {"commas: digits after a point end their number", u"48.48,135.07", "48.480000, 135.070000"},
    {"commas: a list comma before a blank", u"55.75 N, 37.62 E", "55.750000, 37.620000"},
    {"commas: a list comma between two halves", u"55\u00B045'20\"N, 37\u00B037'3\"E",
     "55.755556, 37.617500"},
    {"commas: beside letters they separate", u"48,N,135,E", "48.000000, 135.000000"},

    // Abbreviation points.
    {"points: Russian hemisphere abbreviations",
     u"48\u00B028\u203249\u2033 \u0441. \u0448. 135\u00B004\u203219\u2033 \u0432. \u0434.",
     "48.480278, 135.071944"},
    {"points: after a letter", u"N. 48.5, E. 135.2", "48.500000, 135.200000"},
    {"points: a lone point is a blank", u"5 . 7", "5.000000, 7.000000"},
    {"points: a point before a digit stays", u". 5 6", "5.000000, 6.000000"},
    {"points: three numbers in a row are no point, and no error either", u"1...5 2", ""},
    {"points: a sentence's closing point ends the number", u"48.4803, 135.0719.",
     "48.480300, 135.071900"},

    // Four numbers: degrees and decimal minutes.
    {"four: GPS read-out", u"N 48\u00B0 28.817' E 135\u00B0 04.317'", "48.480283, 135.071950"},
    {"four: degrees and whole minutes", u"40:07N 74:07W", "40.116667, -74.116667"},
    {"four: a minus on the degrees", u"-33 27.0 -70 40.0", "-33.450000, -70.666667"},
    {"four: minutes of 75", u"48 75.5 135 04.3", ""},
    {"four: minutes of 60", u"N 48 60 E 135 0", ""},
    {"four: minutes just below 60", u"N 48 59.9999999 E 135 0", "49.000000, 135.000000"},
    {"four: decimal degrees with minutes", u"48.5 30 135.5 20", ""},
    {"four: signed minutes", u"48 -30 135 20", ""},
    {"four: a malformed item gives no point", u"48 1.2.3 135 4", ""},

    // Six numbers.
    {"six: seconds of 60", u"48 28 60 135 4 19", ""},
    {"six: seconds just below 60", u"48 28 59.99 135 4 19", "48.483331, 135.071944"},
    {"six: signed minutes", u"48 -28 49 135 4 19", ""},
    {"six: minutes beyond 60", u"91 181 60 60 60 60", ""},

    // Hemispheres.
    {"hemispheres: S and W", u"33\u00B027'S 70\u00B040'W", "-33.450000, -70.666667"},
    {"hemispheres: a minus and S do not cancel", u"-33.5 S 70.6 W", "-33.500000, -70.600000"},
    {"hemispheres: Russian ю. ш. and з. д.", u"33.5 \u044E. \u0448. 70.6 \u0437. \u0434.",
     "-33.500000, -70.600000"},
    {"hemispheres: the words in any case", u"33.5 South, 70.6 WEST", "-33.500000, -70.600000"},
    {"hemispheres: the words before latitude and longitude",
     u"33.5 South latitude, 70.6 West longitude", "-33.500000, -70.600000"},
    {"hemispheres: lower-case s is seconds", u"48d 28m 49s N 135d 4m 19s E",
     "48.480278, 135.071944"},
    {"hemispheres: N and E change nothing", u"N 48.5 E 135.2", "48.500000, 135.200000"},
    {"hemispheres: С and В alone change nothing", u"48.5 \u0421 135.2 \u0412",
     "48.500000, 135.200000"},
    {"hemispheres: Vietnamese B and Đ change nothing", u"21.0 B 105.8 \u0110",
     "21.000000, 105.800000"},
    {"hemispheres: a letter inside a word counts not", u"Site SW of the lake: 48.5 135.2",
     "48.500000, 135.200000"},
    {"hemispheres: zero stays unsigned", u"0 S 0 W", "0.000000, 0.000000"},

    // Counts.
    {"counts: an altitude is no third number", u"48.480278 135.071944 72 m",
     "48.480278, 135.071944"},
    {"counts: five numbers", u"1 2 3 4 5", ""},
    {"counts: other counts convert nothing", u"1.2.3 4 5", ""},
    {"counts: none", u"", ""},
    {"counts: blanks only", u"   \t ", ""},
    {"counts: groups of one line are written alike", u"12|5 3", ""},
    {"counts: a dotted form without a letter is no point", u"1.2.3 4", ""},

    // Block notation in a decimal pair.
    {"block: NMEA DDMM.mmm", u"N4007.38 W07407.38", "40.123000, -74.123000"},
    {"block: aviation DDMMSS and DDDMMSS", u"400723N 0740723W", "40.123056, -74.123056"},
    {"block: NMEA fields", u"4807.038,N,01131.000,E", "48.117300, 11.516667"},
    {"block: a leading zero and decimals need no letter", u"0123.5 01234.5", "1.391667, 12.575000"},
    {"block: beyond 90", u"1234.567891 5", "12.576132, 5.000000"},
    {"block: whole numbers with a hemisphere", u"4007N 07407W", "40.116667, -74.116667"},
    {"block: whole numbers alone are heights or years", u"1200\u20131350 m", ""},
    {"block: five digits are no latitude", u"40072.5N 135.5E", ""},
    {"block: nine digits", u"123456789 5", ""},
    {"block: ten digits", u"1234567890 1", ""},
    {"block: minutes of 75", u"4075.5N 135E", ""},
    {"block: seconds of 60", u"400760N 0740723W", ""},
    {"block: beyond 90 once read", u"9100.5N 135E", ""},
    {"block: beyond 360 once read", u"48.5N 3700000E", ""},

    // Range.
    {"range: the limits", u"90 360", "90.000000, 360.000000"},
    {"range: the negative limits", u"-90 -360", "-90.000000, -360.000000"},
    {"range: the Far East past 180", u"66.159722 190.190833", "66.159722, 190.190833"},
    {"range: latitude beyond 90", u"90.000001 135", ""},
    {"range: longitude beyond 360", u"48 360.000001", ""},
    {"range: six numbers beyond 90", u"90 0 1 135 0 0", ""},
    {"range: degrees and minutes beyond 90", u"-90 0.5 135 0", ""},

    // Lines whose south or west the rules cannot read: no point rather than a wrong one.
    {"unreadable: O is west in Spanish", u"33\u00B027'S 70\u00B040'O", ""},
    {"unreadable: and east in German", u"48\u00B0 29\u2032 N, 135\u00B0 5\u2032 O", ""},
    {"hemispheres: French and Spanish words", u"33\u00B027\u2032 sud, 70\u00B040\u2032 oeste",
     "-33.450000, -70.666667"},
    {"unreadable: lower-case w", u"33.5 S 70.6 w", ""},
    {"unreadable: lower-case s beside lower-case e", u"40.123s 74.123e", ""},
    {"marks: d, m and s run into the letter", u"40d7m22.8sN 74d7m22.8sW", "40.123000, -74.123000"},
    {"unreadable: Vietnamese N beside Đ is Nam", u"33\u00B052\u2032N 151\u00B012\u2032\u0110", ""},
    {"hemispheres: B and T are Vietnamese only, T is Tây", u"10\u00B0B 20\u00B0T",
     "10.000000, -20.000000"},
    {"hemispheres: Vietnamese words",
     u"20\u00B019\u2032 v\u0129 \u0111\u1ED9 Nam, 105\u00B036\u2032 kinh \u0111\u1ED9 T\u00E2y",
     "-20.316667, -105.600000"},
    {"hemispheres: Vietnamese words with combining marks, the other number the longitude",
     u"20\u00B019\u2032 vi\u0303 \u0111o\u0323\u0302 Nam, 105\u00B036\u2032",
     "-20.316667, 105.600000"},
    {"readable: Việt Nam and Tây Ninh are places", u"T\u00E2y Ninh, Vi\u1EC7t Nam: 11.31 106.1",
     "11.310000, 106.100000"},
    {"hemispheres: Russian words",
     u"33\u00B027\u2032 \u044E\u0436\u043D\u043E\u0439 \u0448\u0438\u0440\u043E\u0442\u044B, "
     u"70\u00B040\u2032 \u0437\u0430\u043F\u0430\u0434\u043D\u043E\u0439 "
     u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B",
     "-33.450000, -70.666667"},
    {"readable: Южно-Сахалинск is a place",
     u"\u042E\u0436\u043D\u043E-\u0421\u0430\u0445\u0430\u043B\u0438\u043D\u0441\u043A 46.95 "
     u"142.73",
     "46.950000, 142.730000"},
    {"letters: South before a word names no number", u"Seoul, South Korea 37.5665 126.978",
     "37.566500, 126.978000"},
    {"letters: S. before a region names no number", u"S. Primorye, 43.2 133.9",
     "43.200000, 133.900000"},
    {"letters: W before a region names no number", u"W Kamchatka 57.1 156.8",
     "57.100000, 156.800000"},
    {"readable: E and N before a region", u"E Siberia, N part 60.5 110.2",
     "60.500000, 110.200000"},
    {"counts: whole numbers among words are no point", u"E Siberia, N part 60 110", ""},
    {"readable: a name after the hemisphere letter",
     u"66\u00B009\u203235\u2033N 169\u00B048\u203233\u2033W Uelen", "66.159722, -169.809167"},
    {"order: longitude named first in Russian",
     u"\u0437. \u0434. 70\u00B040\u2032 \u044E. \u0448. 33\u00B027\u2032",
     "-33.450000, -70.666667"},
    {"order: longitude named first", u"E 12.5 N 41.9", "41.900000, 12.500000"},
    {"order: longitude named first in words", u"lon=12.5&lat=41.9", "41.900000, 12.500000"},
    {"unreadable: UTM easting and northing", u"E 412345 N 1234512", ""},
    {"formats: ISO 6709 with a western longitude run on", u"+40.7128-074.0060/",
     "40.712800, -74.006000"},
    {"hemispheres: Russian letters run together", u"33.45 \u042E\u0428 70.67 \u0417\u0414",
     "-33.450000, -70.670000"},
    {"unreadable: the digits of a plus code", u"8QVQFCMM+4V", ""},
    {"readable: ISO 6709 with an eastern longitude", u"+48.4803+135.0719/",
     "48.480300, 135.071900"},

    // White space and odd characters.
    {"white space: a tab separates", u"53.5\t158.2", "53.500000, 158.200000"},
    {"white space: a lone point is zero", u". 7", ""},
    {"white space: a lone number is no point", u"| 5", ""},
    {"white space: NBSP is blanked", u"48.5\u00A0135.25", "48.500000, 135.250000"},
    {"white space: other Unicode blanks too", u"\u200348.5\u3000135.25\u2028",
     "48.500000, 135.250000"},
    {"white space: VT and FF are white space", u"\v48.5\f\f135.25\v", "48.500000, 135.250000"},
    {"white space: characters beyond the BMP", u"\U0001F600 1 \U0001F600 2", "1.000000, 2.000000"},
};

TEST(myParser, ReadsEachNotationByTheRules) {
    for (const ParserCase& c : kCases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(std::string(c.why) + ": " + line.toStdString());
        EXPECT_EQ(myParser(line), QString::fromLatin1(c.result));
    }
}

constexpr double dms(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60 + seconds / 3600;
}

// A line as a source writes it, with the point it stands for. read says whether the rules
// read it; a line they cannot read must give no point, never a wrong one.
struct RealLine {
    const char* source;
    const char16_t* line;
    double lat;
    double lon;
    bool read;
};

const RealLine kRealLines[] = {
    // Encyclopaedias.
    {"Wikipedia (en), Khabarovsk with the comma",
     u"48\u00B028\u203249\u2033N, 135\u00B004\u203219\u2033E", dms(48, 28, 49), dms(135, 4, 19),
     true},
    {"Wikipedia (en), Uelen, west of 180", u"66\u00B009\u203235\u2033N 169\u00B048\u203233\u2033W",
     dms(66, 9, 35), -dms(169, 48, 33), true},
    {"Wikipedia (en), decimal form", u"48.48028\u00B0N 135.07194\u00B0E", 48.48028, 135.07194,
     true},
    {"Wikipedia (en), degrees and minutes", u"43\u00B007\u2032N 131\u00B054\u2032E", dms(43, 7, 0),
     dms(131, 54, 0), true},
    {"Wikipedia (en), the geo form", u"21.02833; 105.85417", 21.02833, 105.85417, true},
    {"Wikipedia (en), Sydney", u"33\u00B052\u203204\u2033S 151\u00B012\u203236\u2033E",
     -dms(33, 52, 4), dms(151, 12, 36), true},
    {"Wikipedia (en), decimal with U+2212", u"\u221233.8688, 151.2093", -33.8688, 151.2093, true},
    {"Wikipedia (en), the whole coordinate box",
     u"48\u00B028\u203249\u2033N 135\u00B004\u203219\u2033E / 48.48028\u00B0N 135.07194\u00B0E / "
     u"48.48028; 135.07194",
     48.48028, 135.07194, true},
    {"Wikipedia (ru)",
     u"48\u00B028\u203249\u2033 \u0441. \u0448. 135\u00B004\u203219\u2033 \u0432. \u0434.",
     dms(48, 28, 49), dms(135, 4, 19), true},
    {"Wikipedia (ru), with its caption and map links",
     u"\u041A\u043E\u043E\u0440\u0434\u0438\u043D\u0430\u0442\u044B: 48\u00B028\u203249\u2033 "
     u"\u0441. \u0448. 135\u00B004\u203219\u2033 \u0432. \u0434.HG\u042FO",
     dms(48, 28, 49), dms(135, 4, 19), true},
    {"Wikipedia (ru), Uelen",
     u"66\u00B009\u203235\u2033 \u0441. \u0448. 169\u00B048\u203233\u2033 \u0437. \u0434.",
     dms(66, 9, 35), -dms(169, 48, 33), true},
    {"Wikipedia (ru), Sydney",
     u"33\u00B052\u2032 \u044E. \u0448. 151\u00B012\u2032 \u0432. \u0434.", -dms(33, 52, 0),
     dms(151, 12, 0), true},
    {"Wikipedia (ru), with the place name",
     u"\u042E\u0436\u043D\u043E-\u0421\u0430\u0445\u0430\u043B\u0438\u043D\u0441\u043A "
     u"46\u00B057\u2032 \u0441. \u0448. 142\u00B044\u2032 \u0432. \u0434.",
     dms(46, 57, 0), dms(142, 44, 0), true},
    {"Wikipedia (vi), Hà Nội", u"21\u00B001\u203242\u2033B 105\u00B051\u203215\u2033\u0110",
     dms(21, 1, 42), dms(105, 51, 15), true},
    {"Wikipedia (vi), decimal commas", u"21,02833\u00B0B 105,85417\u00B0\u0110", 21.02833,
     105.85417, true},
    {"Wikipedia (vi), Sydney: N is Nam", u"33\u00B052\u2032N 151\u00B012\u2032\u0110",
     -dms(33, 52, 0), dms(151, 12, 0), false},
    {"Wikipedia (fr)", u"48\u00B0 28\u2032 49\u2033 nord, 135\u00B0 04\u2032 19\u2033 est",
     dms(48, 28, 49), dms(135, 4, 19), true},
    {"Wikipedia (fr), Sydney", u"33\u00B0 52\u2032 04\u2033 sud, 151\u00B0 12\u2032 36\u2033 est",
     -dms(33, 52, 4), dms(151, 12, 36), true},
    {"Wikipedia (de): O is Ost", u"48\u00B0 29\u2032 N, 135\u00B0 5\u2032 O", dms(48, 29, 0),
     dms(135, 5, 0), false},
    {"Wikipedia (es), Santiago: O is oeste", u"33\u00B027\u203200\u2033S 70\u00B040\u203200\u2033O",
     -dms(33, 27, 0), -dms(70, 40, 0), false},

    // Web maps.
    {"Google Maps, a right click", u"48.48027783291675, 135.07194448590286", 48.48027783291675,
     135.07194448590286, true},
    {"Google Maps, degrees form", u"48\u00B028'49.0\"N 135\u00B004'19.0\"E", dms(48, 28, 49),
     dms(135, 4, 19), true},
    {"Yandex Maps", u"43.115500, 131.885500", 43.1155, 131.8855, true},
    {"Google Maps link", u"https://www.google.com/maps/@48.4802778,135.0719444,15z", 48.4802778,
     135.0719444, true},
    {"OpenStreetMap link", u"https://www.openstreetmap.org/#map=16/43.1155/131.8855", 43.1155,
     131.8855, true},
    {"Yandex Maps link, longitude first", u"https://yandex.ru/maps/?ll=135.071944%2C48.480278&z=12",
     48.480278, 135.071944, true},
    {"Google Maps plus code", u"8QWQF3JC+4Q", 48.480278, 135.071944, false},
    {"GeoJSON, longitude first", u"[135.071944, 48.480278]", 48.480278, 135.071944, false},

    // GPS units and their files.
    {"Garmin read-out", u"N48 28.817 E135 04.317", dms(48, 28.817, 0), dms(135, 4.317, 0), true},
    {"Garmin read-out, south and west", u"S33 27.000 W070 40.000", -dms(33, 27, 0), -dms(70, 40, 0),
     true},
    {"GPS read-out with symbols", u"N 48\u00B0 28.817' E 135\u00B0 04.317'", dms(48, 28.817, 0),
     dms(135, 4.317, 0), true},
    {"GPS read-out in Russian", u"\u042E 33\u00B027.000' \u0417 070\u00B040.000'", -dms(33, 27, 0),
     -dms(70, 40, 0), true},
    {"NMEA fields", u"4807.038,N,01131.000,E", dms(48, 7.038, 0), dms(11, 31, 0), true},
    {"NMEA sentence", u"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
     dms(48, 7.038, 0), dms(11, 31, 0), true},
    {"GPX track point", u"<trkpt lat=\"43.1155\" lon=\"131.8855\">", 43.1155, 131.8855, true},
    {"KML, longitude first", u"<coordinates>131.8855,43.1155,0</coordinates>", 43.1155, 131.8855,
     true},
    {"aviation", u"400723N 0740723W", dms(40, 7, 23), -dms(74, 7, 23), true},
    {"ISO 6709 in photo metadata", u"+48.4803+135.0719/", 48.4803, 135.0719, true},
    {"ISO 6709, western", u"+40.7128-074.0060/", 40.7128, -74.006, true},

    // Occurrence databases.
    {"GBIF decimal columns", u"43.1155\t131.8855", 43.1155, 131.8855, true},
    {"GBIF decimal columns, south and west", u"-33.4489\t-70.6693", -33.4489, -70.6693, true},
    {"GBIF verbatim coordinates", u"33\u00B027'S 70\u00B040'W", -dms(33, 27, 0), -dms(70, 40, 0),
     true},
    {"GBIF verbatim coordinates in Spanish", u"33\u00B027'S 70\u00B040'O", -dms(33, 27, 0),
     -dms(70, 40, 0), false},
    {"GBIF row with the year", u"Panthera tigris altaica,43.1155,131.8855,2019", 43.1155, 131.8855,
     true},

    // Papers.
    {"paper, decimal commas in seconds", u" N 43\u00B036'29,0\" E 132\u00B014'59,5\"",
     dms(43, 36, 29), dms(132, 14, 59.5), true},
    {"paper, Russian", u"43\u00B007\u2032 \u0441.\u0448., 131\u00B054\u2032 \u0432.\u0434.",
     dms(43, 7, 0), dms(131, 54, 0), true},
    {"paper, Russian words",
     u"55\u00B045\u2032 \u0441\u0435\u0432\u0435\u0440\u043D\u043E\u0439 "
     u"\u0448\u0438\u0440\u043E\u0442\u044B \u0438 37\u00B037\u2032 "
     u"\u0432\u043E\u0441\u0442\u043E\u0447\u043D\u043E\u0439 "
     u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B",
     dms(55, 45, 0), dms(37, 37, 0), true},
    {"paper, Russian words, south and west",
     u"33\u00B027\u2032 \u044E\u0436\u043D\u043E\u0439 \u0448\u0438\u0440\u043E\u0442\u044B, "
     u"70\u00B040\u2032 \u0437\u0430\u043F\u0430\u0434\u043D\u043E\u0439 "
     u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B",
     -dms(33, 27, 0), -dms(70, 40, 0), true},
    {"paper, Vietnamese words",
     u"V\u01B0\u1EDDn qu\u1ED1c gia C\u00FAc Ph\u01B0\u01A1ng: 20\u00B019\u2032 v\u0129 "
     u"\u0111\u1ED9 B\u1EAFc, 105\u00B036\u2032 kinh \u0111\u1ED9 \u0110\u00F4ng",
     dms(20, 19, 0), dms(105, 36, 0), true},
    {"paper, Vietnamese, place name with Đ",
     u"Tam \u0110\u1EA3o (21\u00B027\u2032N 105\u00B038\u2032E)", dms(21, 27, 0), dms(105, 38, 0),
     true},
    {"paper, decimal commas in minutes", u"21\u00B027,5\u2032N 105\u00B038,2\u2032E",
     dms(21, 27.5, 0), dms(105, 38.2, 0), true},
    {"paper, a range", u" N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019",
     dms(44, 55.675, 0), -dms(109, 40.225, 0), false},
    {"paper, old style", u"Lat. 33\u00B0 27' S., Long. 70\u00B0 40' W.", -dms(33, 27, 0),
     -dms(70, 40, 0), true},
    {"paper, hemisphere words", u"33\u00B027\u2032 South, 70\u00B040\u2032 West", -dms(33, 27, 0),
     -dms(70, 40, 0), true},
    {"paper, region before the point", u"W Kamchatka: 57\u00B006\u2032N 156\u00B048\u2032E",
     dms(57, 6, 0), dms(156, 48, 0), true},
    {"paper, decimal with letters", u"43.117778 N, 131.473056 E", 43.117778, 131.473056, true},
    {"paper, with the altitude", u"48.480278 135.071944 72 m", 48.480278, 135.071944, true},
    {"paper, after a place name",
     u"Seoul, South Korea: 37\u00B033\u203258\u2033N 126\u00B058\u203241\u2033E", dms(37, 33, 58),
     dms(126, 58, 41), true},
    {"web page, labelled",
     u"Latitude: 33\u00B052\u203204\u2033 S Longitude: 151\u00B012\u203226\u2033E", -dms(33, 52, 4),
     dms(151, 12, 26), true},
    {"web page, signed and lettered", u"-33.8688\u00B0 S, 151.2093\u00B0 E", -33.8688, 151.2093,
     true},

    // Encyclopaedia pages on Vladivostok as mirrors of Wikipedia and an atlas show them:
    // review.clateway.com/wiki/view_html.php?q=Vladivostok, www.worddisk.com/wiki/Vladivostok/,
    // www.f8.com/FP/Russia/Avlad.html (longitude first, then the altitude column).
    {"Wikipedia mirror, the box's three forms",
     u"Coordinates: 43\u00B06\u203254\u2033N 131\u00B053\u20327\u2033E / 43.11500\u00B0N "
     u"131.88528\u00B0E / 43.11500; 131.88528",
     43.115, 131.88528, true},
    {"Wikipedia mirror, degrees and minutes", u"Coordinates: 43\u00B008\u2032N 131\u00B054\u2032E",
     dms(43, 8, 0), dms(131, 54, 0), true},
    {"atlas, longitude first", u"131\u00B0 54' E 43\u00B0 08' N Sea Level", dms(43, 8, 0),
     dms(131, 54, 0), true},

    // Aerodrome reference points of the AIP of Viet Nam (vnaic.vn, AD 2.2 of VVNB, VVCI, VVPB,
    // VVVH), cells copied with the text beside them.
    {"AIP VVNB, a dash between", u"211318N \u2013 1054820E", dms(21, 13, 18), dms(105, 48, 20),
     true},
    {"AIP VVCI, run together, runway and taxiway names after",
     u"204901N1064323E Intersection of the centre line of TWY N4 and the centre line of RWY "
     u"07/25",
     dms(20, 49, 1), dms(106, 43, 23), true},
    {"AIP VVPB, decimal seconds",
     u"162402.46N - 1074208.98E Intersection of RCL 09/27 and CL of TWY E1", dms(16, 24, 2.46),
     dms(107, 42, 8.98), true},
    {"AIP VVVH", u"184348N - 1054018E", dms(18, 43, 48), dms(105, 40, 18), true},
    {"AIP VVNB, the magnetic variation alone", u"MAG VAR 1\u00B0W (1989)", 0, 0, false},

    // NMEA from a research vessel's raw GPS log (downloads.psl.noaa.gov, ATOMIC 2020,
    // gps02001420_raw.txt), and from a receiver's manual and a code page whose samples carry
    // wrong checksums (UniTraQ UD-731 manual, page 30; a GitHub gist of $GPRMC fields).
    {"NOAA log, GGA",
     u"$GPGGA,195959.00,1541.31258893,N,05130.51204125,W,2,06,1.5,9.2,M,-37.6,M,4.0,0138*7E",
     dms(15, 41.31258893, 0), -dms(51, 30.51204125, 0), true},
    {"NOAA log, GLL", u"$GPGLL,1541.31258893,N,05130.51204125,W,195959.00,A,D*7B",
     dms(15, 41.31258893, 0), -dms(51, 30.51204125, 0), true},
    {"NOAA log, RMC",
     u"$GPRMC,195959.00,A,1541.31258893,N,05130.51204125,W,0.26,147.44,140120,16.9,W,D*0B",
     dms(15, 41.31258893, 0), -dms(51, 30.51204125, 0), true},
    {"receiver manual, checksum 25 where the sentence sums to 64",
     u"$GPRMC,092204.999,A,4250.5589,S,14718.5084,E,0.00,89.68,211200,,A*25", -dms(42, 50.5589, 0),
     dms(147, 18.5084, 0), false},
    {"gist, blanks copied into the fields",
     u"$GPRMC,170047.00,A,4121.23302,N,00201.31654,W,2.703, ,200417, , ,A*64", dms(41, 21.23302, 0),
     -dms(2, 1.31654, 0), false},

    // Papers: Danilevsky, Taxonomy notes on Palaearctic Cerambycidae (cyberleninka.ru);
    // Makarchenko & Makarchenko, Parorthocladius (zenodo.org/records/5624812), whose "409 ''"
    // are decimal minutes written as seconds, and a holotype line without coordinates
    // (zenodo.org/records/5624810).
    {"paper, a point inside an abstract",
     u"Morimus verecundus murzini ssp. n. from North Iran, Golestan province, mountains southwards "
     u"Gorgan, 36\u00B045'48\"N, 54\u00B028'57\"E;",
     dms(36, 45, 48), dms(54, 28, 57), true},
    {"paper, seconds of 409",
     u"Russian Far East, Jewish Autonomous Region, Obluchie District, Fedotkin Spring of Bidzhan "
     u"River basin (Amur River basin), N 48 \u00BA 38 ' 409 '', E 131 \u00BA 37 ' 217 '', "
     u"27.III. 2013, leg. E. Makarchenko.",
     dms(48, 38.409, 0), dms(131, 37.217, 0), false},
    {"paper, a date range and no coordinates",
     u"Holotype: adult male, Russian Far East, Primorye Territory, Lazovsky District, Lazovsky "
     u"State Nature Reserve, Priamushka River, 19\u201320.V. 2007, leg. O. Zorina.",
     0, 0, false},

    // Formats as their documents show them: the KML tutorial (developers.google.com/kml), RFC
    // 7946 (GeoJSON), RFC 5870 (geo URI), the Well-known text article of Wikipedia.
    {"KML tutorial", u"<coordinates>-122.0822035425683,37.42228990140251,0</coordinates>",
     37.42228990140251, -122.0822035425683, true},
    {"RFC 7946", u"{\"type\": \"Point\", \"coordinates\": [102.0, 0.5]}", 0.5, 102.0, true},
    {"RFC 5870", u"geo:13.4125,103.8667", 13.4125, 103.8667, true},
    {"WKT", u"POINT (30 10)", 10, 30, true},
};

TEST(myParser, RealLinesGiveTheirTruePointOrNone) {
    for (const RealLine& r : kRealLines) {
        const QString line = QString::fromUtf16(r.line);
        SCOPED_TRACE(std::string(r.source) + ": " + line.toStdString());
        const QString result = myParser(line);
        if (!r.read) {
            EXPECT_EQ(result, QString());
            continue;
        }
        const QStringList numbers = result.split(QStringLiteral(", "));
        ASSERT_EQ(numbers.size(), 2) << result.toStdString();
        EXPECT_NEAR(StrToFloat(numbers[0]), r.lat, 1e-6);
        EXPECT_NEAR(StrToFloat(numbers[1]), r.lon, 1e-6);
    }
}

TEST(myParser, HugeNumbersGiveNoPoint) {
    const QString huge = QStringLiteral("1") + QString(308, QChar(u'0'));  // 1e308, finite
    for (const int count : {2, 4, 6}) {
        QStringList items;
        for (int i = 0; i < count; ++i) {
            items << huge;
        }
        SCOPED_TRACE(count);
        EXPECT_EQ(myParser(items.join(QLatin1Char(' '))), QString());
    }
    // Finite items whose sum overflows.
    const QString max = QStringLiteral("17976931348623157") + QString(292, QChar(u'0'));
    EXPECT_EQ(myParser(max + QStringLiteral(" 59 59 ") + max + QStringLiteral(" 59 59")),
              QString());
}

TEST(myParser, SurvivesTextThatIsNotValidUtf16) {
    const QChar lone[] = {QChar(u'1'), QChar(u' '), QChar(char16_t(0xD800)), QChar(u'2')};
    EXPECT_EQ(myParser(QString(lone, 4)), QStringLiteral("1.000000, 2.000000"));
    const QChar nul[] = {QChar(u'3'), QChar(u'\0'), QChar(u'4')};
    EXPECT_EQ(myParser(QString(nul, 3)), QStringLiteral("3.000000, 4.000000"));
}

TEST(myParser, LongLinesAreNormalisedWhole) {
    QString line = QStringLiteral("53\u00B056'27\"N ");
    line += QString(100000, QChar(u'\u2019'));
    line += QStringLiteral(" 158\u00B001'31\"E");
    EXPECT_EQ(myParser(line), QStringLiteral("53.940833, 158.025278"));
    // Long runs of the characters the new steps look at stay linear and harmless.
    EXPECT_EQ(myParser(QString(100000, QChar(u',')) + QStringLiteral("48 135")),
              QStringLiteral("48.000000, 135.000000"));
    EXPECT_EQ(myParser(QStringLiteral("48.5 ") + QString(100000, QChar(u'-')) +
                       QStringLiteral(" 135.5 ") + QString(100000, QChar(u'S'))),
              QStringLiteral("48.500000, 135.500000"));
}

// More blanks in a run than PCRE's default match limit allows backtracking over: once an
// internal error for a valid line.
TEST(myParser, AnyRunOfBlanksIsShrunk) {
    const QString blanks(10500000, QChar(u' '));
    EXPECT_EQ(myParser(QStringLiteral("48.5") + blanks + QStringLiteral("135.25")),
              QStringLiteral("48.500000, 135.250000"));
    EXPECT_EQ(myParser(QStringLiteral("48.5 135.25") + blanks),
              QStringLiteral("48.500000, 135.250000"));
}

// Lines of 20 MB in every shape that once made lists of their parts: the normaliser needs less
// than the line's own UTF-16 text again, which the caller already holds.
TEST(myParser, PeakMemoryOfLongLinesStaysBelowTheirSize) {
    constexpr int kPairs = 10000000;
    const auto repeated = [](const char* piece, int times) {
        return QString::fromLatin1(piece).repeated(times);
    };
    struct Case {
        const char* name;
        QString line;
        QString result;
    };
    const Case cases[] = {
        {"many items", repeated("1 ", kPairs), {}},
        {"many words", QStringLiteral("48.5 135.25 ") + repeated("N ", kPairs), {}},
        {"letters", repeated("ab", kPairs), {}},
        {"one long number", QStringLiteral("0.") + repeated("00", kPairs) + QStringLiteral("5 7"),
         QStringLiteral("0.000000, 7.000000")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t utf16Bytes = static_cast<std::size_t>(c.line.size()) * 2;
        expectPeakMemoryBelow(utf16Bytes, [&] { EXPECT_EQ(myParser(c.line), c.result); });
    }
}

struct FormatCase {
    double value;
    const char* text;
};

TEST(formatCoordinate, RoundsHalfAwayFromZeroOnTheExactDecimalValue) {
    const FormatCase cases[] = {
        {0.0, "0.000000"},
        {158.02527777, "158.025278"},
        {0.5, "0.500000"},
        {2.675, "2.675000"},
        {0.0000005, "0.000000"},  // the double lies just below the half
        {0.0000015, "0.000002"},  // and this one just above
        {0.0078125, "0.007813"},  // an exact tie: away from zero, not to even
        {0.0234375, "0.023438"},
        {1e-300, "0.000000"},
        {999.9999996, "1000.000000"},
        {1234.567891, "1234.567890"},
        {1000.015625, "1000.015630"},  // exact tie at the ninth significant digit
        {12345.6789012, "12345.678900"},
        {123456789.4, "123456789.000000"},
        {123456788.5, "123456789.000000"},
        {999999999.4, "999999999.000000"},
        {999999999.5, "1E9"},  // rounding carries into the exponent form
        {1e9, "1E9"},
        {1234567890, "1.23456789E9"},
        {1234567885, "1.23456789E9"},  // exact tie at the tens: away from zero
        {1.5e9, "1.5E9"},
        {1e23, "1E23"},
        {1.7976931348623157e308, "1.79769313E308"},
        {-1.5, "-1.500000"},
        {-0.0000001, "0.000000"},
        {-0.0, "0.000000"},
        {-169.80916666, "-169.809167"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatCoordinate(c.value), QString::fromLatin1(c.text));
    }
}

}  // namespace

}  // namespace zelkora
