// Every point of a line, one row a behaviour: the points in the order of the text with the words
// each came from, repeats, ranges, the agreement rule at one rounding unit, the languages of the
// letters and the map that chooses where they cannot.
#include <gtest/gtest.h>

#include <QStringList>
#include <span>

#include "coordtext/Normaliser.h"
#include "coordtext/Words.h"

namespace zelkora {

namespace {

// The points as "lat, lon «words»" joined by " | ", to six decimals; the words are the first
// span's.
QString describe(const QString& line, const LinePoints& reading) {
    QStringList points;
    for (const LinePoint& p : reading.points) {
        points << QStringLiteral("%1, %2 «%3»%4")
                      .arg(p.lat, 0, 'f', 6)
                      .arg(p.lon, 0, 'f', 6)
                      .arg(line.sliced(p.spans.front().start, p.spans.front().length))
                      .arg(p.byMap ? QStringLiteral(" map") : QString());
    }
    return points.join(QStringLiteral(" | "));
}

struct PointsCase {
    const char* why;
    const char16_t* line;
    const char* points;  // as describe writes them; empty for none
};

void expectPoints(std::span<const PointsCase> cases, const MapCheck& onMap = {}) {
    for (const PointsCase& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(std::string(c.why) + ": " + line.toStdString());
        EXPECT_EQ(describe(line, readLinePoints(line, onMap)).toStdString(), std::string(c.points));
    }
}

TEST(LinePoints, EveryPointOfALineInTheOrderOfTheText) {
    const PointsCase cases[] = {
        {"two points with their words, and what is no point between",
         u"Sa Pa, 22°21′N, 103°46′E, 1900 m, 12 May 2010; ibid., 22°20′45″N, 103°47′10″E.",
         "22.350000, 103.766667 «22°21′N, 103°46′E» | 22.345833, 103.786111 «22°20′45″N, "
         "103°47′10″E»"},
        {"two points after ca, joined by and", u"ca 43°40'N, 132°32'E, and … ca 43°05'N, 131°30'E",
         "43.666667, 132.533333 «43°40'N, 132°32'E» | 43.083333, 131.500000 «43°05'N, 131°30'E»"},
        {"two bare pairs, a semicolon between", u"22.8, 106.1; 22.9, 106.2",
         "22.800000, 106.100000 «22.8, 106.1» | 22.900000, 106.200000 «22.9, 106.2»"},
        {"counts before a point in degrees and minutes with the letter o and decimal commas",
         u"1 male and 1 female, N43o11,401’; E 133o12.660’",
         "43.190017, 133.211000 «N43o11,401’; E 133o12.660’»"},
        {"run together with Russian letters, a list of corners",
         u"440607с 0395631в, 435602с 0395956в",
         "44.101944, 39.941944 «440607с 0395631в» | 43.933889, 39.998889 «435602с 0395956в»"},
        {"the same place for a second specimen is one point",
         u"12°10’26.91’’N, 108°41’53.94’’E, V1840; same place, 12°10’26.91’’N, 108°41’53.94’’E",
         "12.174142, 108.698317 «12°10’26.91’’N, 108°41’53.94’’E»"},
        {"a point and its decimal repeat are one, the finer kept",
         u"48°28′49″N 135°04′19″E / 48.48028°N 135.07194°E",
         "48.480280, 135.071940 «48°28′49″N 135°04′19″E»"},
        {"a repeat whose letter says the other hemisphere contradicts it",
         u"46°7′45″N 8°11′54″E / 46.12917°N 8.19833°W", ""},
        {"a range gives none, the point after it stays", u"44°10′–44°20′N, 131°E; 45°N, 132°E",
         "45.000000, 132.000000 «45°N, 132°E»"},
        {"between … and: two latitudes", u"между 44°10′ и 48°30′ с. ш.", ""},
        {"a word after \"and\" may name both numbers",
         u"16°31′ i 17°06’30” istočne geografske dužine", ""},
        {"a stray footnote after a point", u"48°43' N, 21°15' E 5",
         "48.716667, 21.250000 «48°43' N, 21°15' E»"},
    };
    expectPoints(cases);
}

// Two points one rounding unit apart are two points; within half a unit of the coarser, one.
TEST(LinePoints, TheAgreementRuleAtOneRoundingUnit) {
    const PointsCase cases[] = {
        {"one unit apart in both", u"22.8, 106.1; 22.9, 106.2",
         "22.800000, 106.100000 «22.8, 106.1» | 22.900000, 106.200000 «22.9, 106.2»"},
        {"one unit apart in the latitude only", u"22.8, 106.1; 22.9, 106.1",
         "22.800000, 106.100000 «22.8, 106.1» | 22.900000, 106.100000 «22.9, 106.1»"},
        {"the finer within half a unit of the coarser", u"22.8, 106.1; 22.84, 106.14",
         "22.840000, 106.140000 «22.8, 106.1»"},
        {"exactly half a unit of the coarser", u"22.8, 106.1; 22.85, 106.15",
         "22.850000, 106.150000 «22.8, 106.1»"},
        {"just past half a unit", u"22.8, 106.1; 22.86, 106.1",
         "22.800000, 106.100000 «22.8, 106.1» | 22.860000, 106.100000 «22.86, 106.1»"},
        {"whole minutes and their decimal", u"45°20′N 134°40′E / 45.333°N 134.667°E",
         "45.333000, 134.667000 «45°20′N 134°40′E»"},
        {"a minute apart", u"45°20′N 134°40′E / 45°21′N 134°40′E",
         "45.333333, 134.666667 «45°20′N 134°40′E» | 45.350000, 134.666667 «45°21′N 134°40′E»"},
    };
    expectPoints(cases);
}

TEST(LinePoints, TheLimits) {
    const PointsCase cases[] = {
        {"latitude 90, longitude 360", u"90 360", "90.000000, 360.000000 «90 360»"},
        {"latitude past 90", u"90.000001 135", ""},
        {"longitude past 360", u"48 360.000001", ""},
        {"the Far East past 180", u"66.159722 190.190833",
         "66.159722, 190.190833 «66.159722 "
         "190.190833»"},
        {"minutes just below 60", u"N 48 59.9999999 E 135 0",
         "49.000000, 135.000000 «N 48 "
         "59.9999999 E 135 0»"},
        {"minutes of 60", u"N 48 60 E 135 0", ""},
        {"seconds of 59.99", u"48°28′59.99″N 135°04′19″E",
         "48.483331, 135.071944 «48°28′59.99″N 135°04′19″E»"},
        {"seconds of 60", u"48°28′60″N 135°04′19″E", ""},
    };
    expectPoints(cases);
}

// A letter that means east in one language and west in another: the line's other letters and
// words tell the language; where they cannot, the map chooses.
TEST(LinePoints, TheLanguageOfTheLetters) {
    const PointsCase cases[] = {
        {"Czech: S and V without a map", u"49°12′ S 16°36′ V", ""},
        {"Czech by its J", u"49°12′ J 16°36′ V", "-49.200000, 16.600000 «49°12′ J 16°36′ V»"},
        {"Danish by its Ø", u"59°55′ N 10°45′ Ø", "59.916667, 10.750000 «59°55′ N 10°45′ Ø»"},
        {"Danish: N and V", u"55°40′ N 12°34′ V", "55.666667, -12.566667 «55°40′ N 12°34′ V»"},
        {"German by its words", u"Koordinaten: 52° 31′ N, 13° 24′ O",
         "52.516667, 13.400000 «52° 31′ N, 13° 24′ O»"},
        {"O without words", u"52°31′ N 13°24′ O", ""},
        {"Spanish by its words", u"Coordenadas del faro: 33°27′ S 70°40′ O",
         "-33.450000, -70.666667 «33°27′ S 70°40′ O»"},
        {"Vietnamese B and Đ", u"21°02′B 105°20’Đ", "21.033333, 105.333333 «21°02′B 105°20’Đ»"},
        {"N beside Đ: Nam, or a writer who mixed the two", u"21°02′N 105°20′Đ", ""},
        {"Finnish words", u"60°10′ pohjoista leveyttä, 24°56′ itäistä pituutta",
         "60.166667, 24.933333 «60°10′ pohjoista leveyttä, 24°56′ itäistä pituutta»"},
        {"Serbian words", u"44°48′ северне географске ширине и 20°28′ западне географске дужине",
         "44.800000, -20.466667 «44°48′ северне географске ширине и 20°28′ западне географске "
         "дужине»"},
        {"Croatian abbreviations", u"46° 33′ 18” s. g. š., 16° 22′ 08” i. g. d.",
         "46.555000, 16.368889 «46° 33′ 18” s. g. š., 16° 22′ 08” i. g. d»"},
        {"Korean words", u"북위 37° 33′ 동경 126° 58′",
         "37.550000, 126.966667 «북위 37° 33′ 동경 "
         "126° 58′»"},
        {"a word the rules lack after a number that no letter names", u"44°48′ N, 20°28′ zapadno",
         ""},
    };
    expectPoints(cases);

    // The map of the Far East (roughly): the reading that lies on it is taken, and said so.
    const MapCheck farEast = [](double lat, double lon) {
        return lat > 30 && lat < 75 && lon > 100 && lon < 200;
    };
    const PointsCase onMap[] = {
        {"O: Ost lies on the map, Oeste does not", u"43°06′N 131°54′O",
         "43.100000, 131.900000 «43°06′N 131°54′O» map"},
        {"V: neither reading on the map", u"49°12′ S 16°36′ V", ""},
        {"letters that leave nothing open need no map", u"43°06′N 131°54′E",
         "43.100000, 131.900000 «43°06′N 131°54′E»"},
    };
    expectPoints(onMap, farEast);
}

// Numbers without evidence give no point, however they stand.
TEST(LinePoints, NumbersWithoutEvidence) {
    const PointsCase cases[] = {
        {"counts", u"1 male and 1 female", ""},
        {"a DOI", u"DOI: 10.1234/ab.56.7", ""},
        {"a reference between a latitude and a longitude", u"43°07′N (Ref. 2) 131°53′E", ""},
        {"a time zone after a longitude", u"106°40′ E, múi giờ thứ 7", ""},
        {"a point's number before its colon", u"N 1: 43.1 131.9",
         "43.100000, 131.900000 «43.1 131.9»"},
        {"garbage", u"a;°84.50NE(W' 1,°6", ""},
        {"a count with a spaced thousand", u"Počet obyvatel | 26 022 (2011) |", ""},
        {"a table's cells", u"Velký Pelis | 3,80 | 189,0 |", ""},
        {"slopes", u"slopes of 30° and 45°", ""},
        {"arithmetic", u"经度 = 116 + 20.12 / 60 = 116.33533°", ""},
        {"NMEA sentences without a position",
         u"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0A", ""},
        {"whole numbers among words", u"E Siberia, N part 60 110", ""},
        {"a pair on a line of its own, its label and its altitude",
         u"GPS: 43.1234, 131.2345 (WGS84), alt. 35 m, 2021-06-14, 10:35",
         "43.123400, 131.234500 «43.1234, 131.2345»"},
    };
    expectPoints(cases);
}

// The word table gives each word one meaning, in lower case as it is looked up.
TEST(Words, EachWordMeansOneThing) {
    EXPECT_EQ(duplicateWords(), 0);
    forEachWord([](QStringView word, const WordInfo&) {
        EXPECT_EQ(word.toString(), word.toString().toLower());
    });
}

}  // namespace

}  // namespace zelkora
