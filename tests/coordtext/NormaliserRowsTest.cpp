// The normaliser's rows end to end, as a pasted line reads: first the rules, one row a behaviour
// (each row names its group: reference, signs, commas, points, four, six, hemispheres, counts,
// block, range, unreadable, readable, letters, order, formats, white space); then real lines as
// sources write them, with the point they stand for, or none where the rules cannot read it.
#include <gtest/gtest.h>

#include "tests/coordtext/LineCases.h"

namespace zelkora {

namespace {

TEST(Normaliser, ReadsEachNotationByTheRules) {
    const LineCase cases[] = {
        point("reference 1", u"0.165454 0.998412", 0.165454, 0.998412),
        point("reference 2: degrees and decimal minutes", u" N 48 51.640 E 138 04.035", 48.860667, 138.067250),
        point("reference 3", u" (53\u00B056'27\"N 158\u00B001'31\"E)", 53.940833, 158.025278),
        point("reference 4", u" (43\u00B0N 146\u00B0E)", 43.000000, 146.000000),
        point("reference 5", u" (48\u00B050'05.0\"N 138\u00B004'45.0\"E)", 48.834722, 138.079167),
        noneOf("reference 6: two ranges, a dash after a quote is a minus", u" (N 35\u00B0 44' 37\"-36\u00B0 59' 40\" E 127\u00B0 40'30\"-127\u00B0 49'45\")"),
        point("reference 7", u" N35 47 42.7 E127 40 04.3", 35.795194, 127.667861),
        noneOf("reference 8: a range, never seconds of 680", u" N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019"),
        point("reference 9", u" (63\u00B0 15\u2019 50.9\u2019\u2019N 151\u00B0 03\u2019 27.4\u2019\u2019E)", 63.264139, 151.057611),
        point("reference 10", u" (48\u00B051'39\"N 138\u00B004'02\"E)", 48.860833, 138.067222),
        point("reference 11", u" 34 41 26N 125 11 50E", 34.690556, 125.197222),
        point("reference 12: W makes the longitude western", u" (37\u00B052\u00B435\u00B4\u00B4N  90\u00B018\u00B418\u00B4\u00B4W)", 37.876389, -90.305000),
        point("reference 13", u" N51\u00B039'7\u2033 E140\u00B054'53\u2033", 51.651944, 140.914722),
        point("reference 14: a dash between blanks separates", u" (43\u00B007'04\"N - 131\u00B028'23\"E)", 43.117778, 131.473056),
        point("reference 15", u" N 43\u00B036'29,0\" E 132\u00B014'59,5\"", 43.608056, 132.249861),
        point("reference 16", u" 46\u00BA38'23,6N 142\u00BA54'04,8E", 46.639889, 142.901333),
        point("reference 17", u" 43\u00B052\u201917,0\u201DN 146\u00B051\u201918,1\u201DE", 43.871389, 146.855028),
        point("signs: both minus signs kept", u"-33.5 -70.6", -33.500000, -70.600000),
        point("signs: U+2212 is a minus too", u"\u221233.5, \u221270.6", -33.500000, -70.600000),
        point("signs: a minus before a point and a digit", u"-.5 -.25", -0.500000, -0.250000),
        noneOf("signs: a dash between two numbers is a range", u"43.1-131.9"),
        noneOf("signs: a dash after a point is a range too", u"48.-5 135"),
        point("signs: a minus on the degrees signs the whole coordinate", u"-33 30 00 -70 40 00", -33.500000, -70.666667),
        point("signs: minus zero is written as zero", u"-0 -0.0000004", 0.000000, 0.000000),
        point("commas: the table's own cell pastes back", u"53.1, 158.2", 53.100000, 158.200000),
        point("commas: decimal commas", u"53,1 158,2", 53.100000, 158.200000),
        point("commas: decimal, then list, then decimal", u"48,5,135,25", 48.500000, 135.250000),
        point("commas: digits after a point end their number", u"48.48,135.07", 48.480000, 135.070000),
        point("commas: a list comma before a blank", u"55.75 N, 37.62 E", 55.750000, 37.620000),
        point("commas: a list comma between two halves", u"55\u00B045'20\"N, 37\u00B037'3\"E", 55.755556, 37.617500),
        point("commas: beside letters they separate", u"48,N,135,E", 48.000000, 135.000000),
        point("points: Russian hemisphere abbreviations", u"48\u00B028\u203249\u2033 \u0441. \u0448. 135\u00B004\u203219\u2033 \u0432. \u0434.", 48.480278, 135.071944),
        point("points: after a letter", u"N. 48.5, E. 135.2", 48.500000, 135.200000),
        point("points: a lone point is a blank", u"5 . 7", 5.000000, 7.000000),
        point("points: a point before a digit stays", u". 5 6", 5.000000, 6.000000),
        noneOf("points: three numbers in a row are no point, and no error either", u"1...5 2"),
        point("points: a sentence's closing point ends the number", u"48.4803, 135.0719.", 48.480300, 135.071900),
        point("four: GPS read-out", u"N 48\u00B0 28.817' E 135\u00B0 04.317'", 48.480283, 135.071950),
        point("four: degrees and whole minutes", u"40:07N 74:07W", 40.116667, -74.116667),
        point("four: a minus on the degrees", u"-33 27.0 -70 40.0", -33.450000, -70.666667),
        noneOf("four: minutes of 75", u"48 75.5 135 04.3"),
        noneOf("four: minutes of 60", u"N 48 60 E 135 0"),
        point("four: minutes just below 60", u"N 48 59.9999999 E 135 0", 49.000000, 135.000000),
        noneOf("four: decimal degrees with minutes", u"48.5 30 135.5 20"),
        noneOf("four: signed minutes", u"48 -30 135 20"),
        noneOf("four: a malformed item gives no point", u"48 1.2.3 135 4"),
        noneOf("six: seconds of 60", u"48 28 60 135 4 19"),
        point("six: seconds just below 60", u"48 28 59.99 135 4 19", 48.483331, 135.071944),
        noneOf("six: signed minutes", u"48 -28 49 135 4 19"),
        noneOf("six: minutes beyond 60", u"91 181 60 60 60 60"),
        point("hemispheres: S and W", u"33\u00B027'S 70\u00B040'W", -33.450000, -70.666667),
        point("hemispheres: a minus and S do not cancel", u"-33.5 S 70.6 W", -33.500000, -70.600000),
        point("hemispheres: Russian ю. ш. and з. д.", u"33.5 \u044E. \u0448. 70.6 \u0437. \u0434.", -33.500000, -70.600000),
        point("hemispheres: the words in any case", u"33.5 South, 70.6 WEST", -33.500000, -70.600000),
        point("hemispheres: the words before latitude and longitude", u"33.5 South latitude, 70.6 West longitude", -33.500000, -70.600000),
        point("hemispheres: lower-case s is seconds", u"48d 28m 49s N 135d 4m 19s E", 48.480278, 135.071944),
        point("hemispheres: N and E change nothing", u"N 48.5 E 135.2", 48.500000, 135.200000),
        point("hemispheres: С and В alone change nothing", u"48.5 \u0421 135.2 \u0412", 48.500000, 135.200000),
        point("hemispheres: Vietnamese B and Đ change nothing", u"21.0 B 105.8 \u0110", 21.000000, 105.800000),
        point("hemispheres: a letter inside a word counts not", u"Site SW of the lake: 48.5 135.2", 48.500000, 135.200000),
        point("hemispheres: zero stays unsigned", u"0 S 0 W", 0.000000, 0.000000),
        point("counts: an altitude is no third number", u"48.480278 135.071944 72 m", 48.480278, 135.071944),
        noneOf("counts: five numbers", u"1 2 3 4 5"),
        noneOf("counts: other counts convert nothing", u"1.2.3 4 5"),
        noneOf("counts: none", u""),
        noneOf("counts: blanks only", u"   \t "),
        noneOf("counts: groups of one line are written alike", u"12|5 3"),
        noneOf("counts: a dotted form without a letter is no point", u"1.2.3 4"),
        point("block: NMEA DDMM.mmm", u"N4007.38 W07407.38", 40.123000, -74.123000),
        point("block: aviation DDMMSS and DDDMMSS", u"400723N 0740723W", 40.123056, -74.123056),
        point("block: NMEA fields", u"4807.038,N,01131.000,E", 48.117300, 11.516667),
        point("block: a leading zero and decimals need no letter", u"0123.5 01234.5", 1.391667, 12.575000),
        point("block: beyond 90", u"1234.567891 5", 12.576132, 5.000000),
        point("block: whole numbers with a hemisphere", u"4007N 07407W", 40.116667, -74.116667),
        noneOf("block: whole numbers alone are heights or years", u"1200\u20131350 m"),
        noneOf("block: five digits are no latitude", u"40072.5N 135.5E"),
        noneOf("block: nine digits", u"123456789 5"),
        noneOf("block: ten digits", u"1234567890 1"),
        noneOf("block: minutes of 75", u"4075.5N 135E"),
        noneOf("block: seconds of 60", u"400760N 0740723W"),
        noneOf("block: beyond 90 once read", u"9100.5N 135E"),
        noneOf("block: beyond 360 once read", u"48.5N 3700000E"),
        point("range: the limits", u"90 360", 90.000000, 360.000000),
        point("range: the negative limits", u"-90 -360", -90.000000, -360.000000),
        point("range: the Far East past 180", u"66.159722 190.190833", 66.159722, 190.190833),
        noneOf("range: latitude beyond 90", u"90.000001 135"),
        noneOf("range: longitude beyond 360", u"48 360.000001"),
        noneOf("range: six numbers beyond 90", u"90 0 1 135 0 0"),
        noneOf("range: degrees and minutes beyond 90", u"-90 0.5 135 0"),
        noneOf("unreadable: O is west in Spanish", u"33\u00B027'S 70\u00B040'O"),
        noneOf("unreadable: and east in German", u"48\u00B0 29\u2032 N, 135\u00B0 5\u2032 O"),
        point("hemispheres: French and Spanish words", u"33\u00B027\u2032 sud, 70\u00B040\u2032 oeste", -33.450000, -70.666667),
        noneOf("unreadable: lower-case w", u"33.5 S 70.6 w"),
        noneOf("unreadable: lower-case s beside lower-case e", u"40.123s 74.123e"),
        point("marks: d, m and s run into the letter", u"40d7m22.8sN 74d7m22.8sW", 40.123000, -74.123000),
        noneOf("unreadable: Vietnamese N beside Đ is Nam", u"33\u00B052\u2032N 151\u00B012\u2032\u0110"),
        point("hemispheres: B and T are Vietnamese only, T is Tây", u"10\u00B0B 20\u00B0T", 10.000000, -20.000000),
        point("hemispheres: Vietnamese words", u"20\u00B019\u2032 v\u0129 \u0111\u1ED9 Nam, 105\u00B036\u2032 kinh \u0111\u1ED9 T\u00E2y", -20.316667, -105.600000),
        point("hemispheres: Vietnamese words with combining marks, the other number the longitude", u"20\u00B019\u2032 vi\u0303 \u0111o\u0323\u0302 Nam, 105\u00B036\u2032", -20.316667, 105.600000),
        point("readable: Việt Nam and Tây Ninh are places", u"T\u00E2y Ninh, Vi\u1EC7t Nam: 11.31 106.1", 11.310000, 106.100000),
        point("hemispheres: Russian words", u"33\u00B027\u2032 \u044E\u0436\u043D\u043E\u0439 \u0448\u0438\u0440\u043E\u0442\u044B, "
     u"70\u00B040\u2032 \u0437\u0430\u043F\u0430\u0434\u043D\u043E\u0439 "
     u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B", -33.450000, -70.666667),
        point("readable: Южно-Сахалинск is a place", u"\u042E\u0436\u043D\u043E-\u0421\u0430\u0445\u0430\u043B\u0438\u043D\u0441\u043A 46.95 "
     u"142.73", 46.950000, 142.730000),
        point("letters: South before a word names no number", u"Seoul, South Korea 37.5665 126.978", 37.566500, 126.978000),
        point("letters: S. before a region names no number", u"S. Primorye, 43.2 133.9", 43.200000, 133.900000),
        point("letters: W before a region names no number", u"W Kamchatka 57.1 156.8", 57.100000, 156.800000),
        point("readable: E and N before a region", u"E Siberia, N part 60.5 110.2", 60.500000, 110.200000),
        noneOf("counts: whole numbers among words are no point", u"E Siberia, N part 60 110"),
        point("readable: a name after the hemisphere letter", u"66\u00B009\u203235\u2033N 169\u00B048\u203233\u2033W Uelen", 66.159722, -169.809167),
        point("order: longitude named first in Russian", u"\u0437. \u0434. 70\u00B040\u2032 \u044E. \u0448. 33\u00B027\u2032", -33.450000, -70.666667),
        point("order: longitude named first", u"E 12.5 N 41.9", 41.900000, 12.500000),
        point("order: longitude named first in words", u"lon=12.5&lat=41.9", 41.900000, 12.500000),
        noneOf("unreadable: UTM easting and northing", u"E 412345 N 1234512"),
        point("formats: ISO 6709 with a western longitude run on", u"+40.7128-074.0060/", 40.712800, -74.006000),
        point("hemispheres: Russian letters run together", u"33.45 \u042E\u0428 70.67 \u0417\u0414", -33.450000, -70.670000),
        noneOf("unreadable: the digits of a plus code", u"8QVQFCMM+4V"),
        point("readable: ISO 6709 with an eastern longitude", u"+48.4803+135.0719/", 48.480300, 135.071900),
        point("white space: a tab separates", u"53.5\t158.2", 53.500000, 158.200000),
        noneOf("white space: a lone point is zero", u". 7"),
        noneOf("white space: a lone number is no point", u"| 5"),
        point("white space: NBSP is blanked", u"48.5\u00A0135.25", 48.500000, 135.250000),
        point("white space: other Unicode blanks too", u"\u200348.5\u3000135.25\u2028", 48.500000, 135.250000),
        point("white space: VT and FF are white space", u"\v48.5\f\f135.25\v", 48.500000, 135.250000),
        point("white space: characters beyond the BMP", u"\U0001F600 1 \U0001F600 2", 1.000000, 2.000000),
    };
    expectLines(cases);
}

// A line as a source writes it, with the point it stands for; a line the rules cannot read gives
// no point, never a wrong one.
TEST(Normaliser, RealLinesGiveTheirTruePointOrNone) {
    const LineCase cases[] = {
        point("Wikipedia (en), Khabarovsk with the comma", u"48\u00B028\u203249\u2033N, 135\u00B004\u203219\u2033E", dms(48, 28, 49), dms(135, 4, 19)),
        point("Wikipedia (en), Uelen, west of 180", u"66\u00B009\u203235\u2033N 169\u00B048\u203233\u2033W", dms(66, 9, 35), -dms(169, 48, 33)),
        point("Wikipedia (en), decimal form", u"48.48028\u00B0N 135.07194\u00B0E", 48.48028, 135.07194),
        point("Wikipedia (en), degrees and minutes", u"43\u00B007\u2032N 131\u00B054\u2032E", dms(43, 7, 0), dms(131, 54, 0)),
        point("Wikipedia (en), the geo form", u"21.02833; 105.85417", 21.02833, 105.85417),
        point("Wikipedia (en), Sydney", u"33\u00B052\u203204\u2033S 151\u00B012\u203236\u2033E", -dms(33, 52, 4), dms(151, 12, 36)),
        point("Wikipedia (en), decimal with U+2212", u"\u221233.8688, 151.2093", -33.8688, 151.2093),
        point("Wikipedia (en), the whole coordinate box", u"48\u00B028\u203249\u2033N 135\u00B004\u203219\u2033E / 48.48028\u00B0N 135.07194\u00B0E / "
     u"48.48028; 135.07194", 48.48028, 135.07194),
        point("Wikipedia (ru)", u"48\u00B028\u203249\u2033 \u0441. \u0448. 135\u00B004\u203219\u2033 \u0432. \u0434.", dms(48, 28, 49), dms(135, 4, 19)),
        point("Wikipedia (ru), with its caption and map links", u"\u041A\u043E\u043E\u0440\u0434\u0438\u043D\u0430\u0442\u044B: 48\u00B028\u203249\u2033 "
     u"\u0441. \u0448. 135\u00B004\u203219\u2033 \u0432. \u0434.HG\u042FO", dms(48, 28, 49), dms(135, 4, 19)),
        point("Wikipedia (ru), Uelen", u"66\u00B009\u203235\u2033 \u0441. \u0448. 169\u00B048\u203233\u2033 \u0437. \u0434.", dms(66, 9, 35), -dms(169, 48, 33)),
        point("Wikipedia (ru), Sydney", u"33\u00B052\u2032 \u044E. \u0448. 151\u00B012\u2032 \u0432. \u0434.", -dms(33, 52, 0), dms(151, 12, 0)),
        point("Wikipedia (ru), with the place name", u"\u042E\u0436\u043D\u043E-\u0421\u0430\u0445\u0430\u043B\u0438\u043D\u0441\u043A "
     u"46\u00B057\u2032 \u0441. \u0448. 142\u00B044\u2032 \u0432. \u0434.", dms(46, 57, 0), dms(142, 44, 0)),
        point("Wikipedia (vi), Hà Nội", u"21\u00B001\u203242\u2033B 105\u00B051\u203215\u2033\u0110", dms(21, 1, 42), dms(105, 51, 15)),
        point("Wikipedia (vi), decimal commas", u"21,02833\u00B0B 105,85417\u00B0\u0110", 21.02833, 105.85417),
        noneOf("Wikipedia (vi), Sydney: N is Nam", u"33\u00B052\u2032N 151\u00B012\u2032\u0110"),  // truth -dms(33, 52, 0), dms(151, 12, 0)
        point("Wikipedia (fr)", u"48\u00B0 28\u2032 49\u2033 nord, 135\u00B0 04\u2032 19\u2033 est", dms(48, 28, 49), dms(135, 4, 19)),
        point("Wikipedia (fr), Sydney", u"33\u00B0 52\u2032 04\u2033 sud, 151\u00B0 12\u2032 36\u2033 est", -dms(33, 52, 4), dms(151, 12, 36)),
        noneOf("Wikipedia (de): O is Ost", u"48\u00B0 29\u2032 N, 135\u00B0 5\u2032 O"),  // truth dms(48, 29, 0), dms(135, 5, 0)
        noneOf("Wikipedia (es), Santiago: O is oeste", u"33\u00B027\u203200\u2033S 70\u00B040\u203200\u2033O"),  // truth -dms(33, 27, 0), -dms(70, 40, 0)
        point("Google Maps, a right click", u"48.48027783291675, 135.07194448590286", 48.48027783291675, 135.07194448590286),
        point("Google Maps, degrees form", u"48\u00B028'49.0\"N 135\u00B004'19.0\"E", dms(48, 28, 49), dms(135, 4, 19)),
        point("Yandex Maps", u"43.115500, 131.885500", 43.1155, 131.8855),
        point("Google Maps link", u"https://www.google.com/maps/@48.4802778,135.0719444,15z", 48.4802778, 135.0719444),
        point("OpenStreetMap link", u"https://www.openstreetmap.org/#map=16/43.1155/131.8855", 43.1155, 131.8855),
        point("Yandex Maps link, longitude first", u"https://yandex.ru/maps/?ll=135.071944%2C48.480278&z=12", 48.480278, 135.071944),
        noneOf("Google Maps plus code", u"8QWQF3JC+4Q"),  // truth 48.480278, 135.071944
        noneOf("GeoJSON, longitude first", u"[135.071944, 48.480278]"),  // truth 48.480278, 135.071944
        point("Garmin read-out", u"N48 28.817 E135 04.317", dms(48, 28.817, 0), dms(135, 4.317, 0)),
        point("Garmin read-out, south and west", u"S33 27.000 W070 40.000", -dms(33, 27, 0), -dms(70, 40, 0)),
        point("GPS read-out with symbols", u"N 48\u00B0 28.817' E 135\u00B0 04.317'", dms(48, 28.817, 0), dms(135, 4.317, 0)),
        point("GPS read-out in Russian", u"\u042E 33\u00B027.000' \u0417 070\u00B040.000'", -dms(33, 27, 0), -dms(70, 40, 0)),
        point("NMEA fields", u"4807.038,N,01131.000,E", dms(48, 7.038, 0), dms(11, 31, 0)),
        point("NMEA sentence", u"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", dms(48, 7.038, 0), dms(11, 31, 0)),
        point("GPX track point", u"<trkpt lat=\"43.1155\" lon=\"131.8855\">", 43.1155, 131.8855),
        point("KML, longitude first", u"<coordinates>131.8855,43.1155,0</coordinates>", 43.1155, 131.8855),
        point("aviation", u"400723N 0740723W", dms(40, 7, 23), -dms(74, 7, 23)),
        point("ISO 6709 in photo metadata", u"+48.4803+135.0719/", 48.4803, 135.0719),
        point("ISO 6709, western", u"+40.7128-074.0060/", 40.7128, -74.006),
        point("GBIF decimal columns", u"43.1155\t131.8855", 43.1155, 131.8855),
        point("GBIF decimal columns, south and west", u"-33.4489\t-70.6693", -33.4489, -70.6693),
        point("GBIF verbatim coordinates", u"33\u00B027'S 70\u00B040'W", -dms(33, 27, 0), -dms(70, 40, 0)),
        noneOf("GBIF verbatim coordinates in Spanish", u"33\u00B027'S 70\u00B040'O"),  // truth -dms(33, 27, 0), -dms(70, 40, 0)
        point("GBIF row with the year", u"Panthera tigris altaica,43.1155,131.8855,2019", 43.1155, 131.8855),
        point("paper, decimal commas in seconds", u" N 43\u00B036'29,0\" E 132\u00B014'59,5\"", dms(43, 36, 29), dms(132, 14, 59.5)),
        point("paper, Russian", u"43\u00B007\u2032 \u0441.\u0448., 131\u00B054\u2032 \u0432.\u0434.", dms(43, 7, 0), dms(131, 54, 0)),
        point("paper, Russian words", u"55\u00B045\u2032 \u0441\u0435\u0432\u0435\u0440\u043D\u043E\u0439 "
     u"\u0448\u0438\u0440\u043E\u0442\u044B \u0438 37\u00B037\u2032 "
     u"\u0432\u043E\u0441\u0442\u043E\u0447\u043D\u043E\u0439 "
     u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B", dms(55, 45, 0), dms(37, 37, 0)),
        point("paper, Russian words, south and west", u"33\u00B027\u2032 \u044E\u0436\u043D\u043E\u0439 \u0448\u0438\u0440\u043E\u0442\u044B, "
     u"70\u00B040\u2032 \u0437\u0430\u043F\u0430\u0434\u043D\u043E\u0439 "
     u"\u0434\u043E\u043B\u0433\u043E\u0442\u044B", -dms(33, 27, 0), -dms(70, 40, 0)),
        point("paper, Vietnamese words", u"V\u01B0\u1EDDn qu\u1ED1c gia C\u00FAc Ph\u01B0\u01A1ng: 20\u00B019\u2032 v\u0129 "
     u"\u0111\u1ED9 B\u1EAFc, 105\u00B036\u2032 kinh \u0111\u1ED9 \u0110\u00F4ng", dms(20, 19, 0), dms(105, 36, 0)),
        point("paper, Vietnamese, place name with Đ", u"Tam \u0110\u1EA3o (21\u00B027\u2032N 105\u00B038\u2032E)", dms(21, 27, 0), dms(105, 38, 0)),
        point("paper, decimal commas in minutes", u"21\u00B027,5\u2032N 105\u00B038,2\u2032E", dms(21, 27.5, 0), dms(105, 38.2, 0)),
        noneOf("paper, a range", u" N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019"),  // truth dms(44, 55.675, 0), -dms(109, 40.225, 0)
        point("paper, old style", u"Lat. 33\u00B0 27' S., Long. 70\u00B0 40' W.", -dms(33, 27, 0), -dms(70, 40, 0)),
        point("paper, hemisphere words", u"33\u00B027\u2032 South, 70\u00B040\u2032 West", -dms(33, 27, 0), -dms(70, 40, 0)),
        point("paper, region before the point", u"W Kamchatka: 57\u00B006\u2032N 156\u00B048\u2032E", dms(57, 6, 0), dms(156, 48, 0)),
        point("paper, decimal with letters", u"43.117778 N, 131.473056 E", 43.117778, 131.473056),
        point("paper, with the altitude", u"48.480278 135.071944 72 m", 48.480278, 135.071944),
        point("paper, after a place name", u"Seoul, South Korea: 37\u00B033\u203258\u2033N 126\u00B058\u203241\u2033E", dms(37, 33, 58), dms(126, 58, 41)),
        point("web page, labelled", u"Latitude: 33\u00B052\u203204\u2033 S Longitude: 151\u00B012\u203226\u2033E", -dms(33, 52, 4), dms(151, 12, 26)),
        point("web page, signed and lettered", u"-33.8688\u00B0 S, 151.2093\u00B0 E", -33.8688, 151.2093),
        point("Wikipedia mirror, the box's three forms", u"Coordinates: 43\u00B06\u203254\u2033N 131\u00B053\u20327\u2033E / 43.11500\u00B0N "
     u"131.88528\u00B0E / 43.11500; 131.88528", 43.115, 131.88528),
        point("Wikipedia mirror, degrees and minutes", u"Coordinates: 43\u00B008\u2032N 131\u00B054\u2032E", dms(43, 8, 0), dms(131, 54, 0)),
        point("atlas, longitude first", u"131\u00B0 54' E 43\u00B0 08' N Sea Level", dms(43, 8, 0), dms(131, 54, 0)),
        point("AIP VVNB, a dash between", u"211318N \u2013 1054820E", dms(21, 13, 18), dms(105, 48, 20)),
        point("AIP VVCI, run together, runway and taxiway names after", u"204901N1064323E Intersection of the centre line of TWY N4 and the centre line of RWY "
     u"07/25", dms(20, 49, 1), dms(106, 43, 23)),
        point("AIP VVPB, decimal seconds", u"162402.46N - 1074208.98E Intersection of RCL 09/27 and CL of TWY E1", dms(16, 24, 2.46), dms(107, 42, 8.98)),
        point("AIP VVVH", u"184348N - 1054018E", dms(18, 43, 48), dms(105, 40, 18)),
        noneOf("AIP VVNB, the magnetic variation alone", u"MAG VAR 1\u00B0W (1989)"),  // truth 0, 0
        point("NOAA log, GGA", u"$GPGGA,195959.00,1541.31258893,N,05130.51204125,W,2,06,1.5,9.2,M,-37.6,M,4.0,0138*7E", dms(15, 41.31258893, 0), -dms(51, 30.51204125, 0)),
        point("NOAA log, GLL", u"$GPGLL,1541.31258893,N,05130.51204125,W,195959.00,A,D*7B", dms(15, 41.31258893, 0), -dms(51, 30.51204125, 0)),
        point("NOAA log, RMC", u"$GPRMC,195959.00,A,1541.31258893,N,05130.51204125,W,0.26,147.44,140120,16.9,W,D*0B", dms(15, 41.31258893, 0), -dms(51, 30.51204125, 0)),
        noneOf("receiver manual, checksum 25 where the sentence sums to 64", u"$GPRMC,092204.999,A,4250.5589,S,14718.5084,E,0.00,89.68,211200,,A*25"),  // truth -dms(42, 50.5589, 0), dms(147, 18.5084, 0)
        noneOf("gist, blanks copied into the fields", u"$GPRMC,170047.00,A,4121.23302,N,00201.31654,W,2.703, ,200417, , ,A*64"),  // truth dms(41, 21.23302, 0), -dms(2, 1.31654, 0)
        point("paper, a point inside an abstract", u"Morimus verecundus murzini ssp. n. from North Iran, Golestan province, mountains southwards "
     u"Gorgan, 36\u00B045'48\"N, 54\u00B028'57\"E;", dms(36, 45, 48), dms(54, 28, 57)),
        noneOf("paper, seconds of 409", u"Russian Far East, Jewish Autonomous Region, Obluchie District, Fedotkin Spring of Bidzhan "
     u"River basin (Amur River basin), N 48 \u00BA 38 ' 409 '', E 131 \u00BA 37 ' 217 '', "
     u"27.III. 2013, leg. E. Makarchenko."),  // truth dms(48, 38.409, 0), dms(131, 37.217, 0)
        noneOf("paper, a date range and no coordinates", u"Holotype: adult male, Russian Far East, Primorye Territory, Lazovsky District, Lazovsky "
     u"State Nature Reserve, Priamushka River, 19\u201320.V. 2007, leg. O. Zorina."),  // truth 0, 0
        point("KML tutorial", u"<coordinates>-122.0822035425683,37.42228990140251,0</coordinates>", 37.42228990140251, -122.0822035425683),
        point("RFC 7946", u"{\"type\": \"Point\", \"coordinates\": [102.0, 0.5]}", 0.5, 102.0),
        point("RFC 5870", u"geo:13.4125,103.8667", 13.4125, 103.8667),
        point("WKT", u"POINT (30 10)", 10, 30),
    };
    expectLines(cases);
}

}  // namespace

}  // namespace zelkora
