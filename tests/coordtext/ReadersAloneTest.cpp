// Each reader alone on a line cut into tokens and weighed: what it proposes (coordinates with
// their values, whole points of a format, parts that read as none), before the solver pairs
// and names anything. A fault in one reader shows under its own name.
#include <gtest/gtest.h>

#include <QStringList>
#include <span>

#include "coordtext/BareNumberReader.h"
#include "coordtext/BlockReader.h"
#include "coordtext/ColonReader.h"
#include "coordtext/DottedReader.h"
#include "coordtext/GeoJsonReader.h"
#include "coordtext/GeoUriReader.h"
#include "coordtext/Iso6709Reader.h"
#include "coordtext/KmlReader.h"
#include "coordtext/LetterInsideReader.h"
#include "coordtext/MapLinkReader.h"
#include "coordtext/MarkedReader.h"
#include "coordtext/NmeaReader.h"
#include "coordtext/NumberParts.h"
#include "coordtext/ShipReportReader.h"
#include "coordtext/Tokenizer.h"
#include "coordtext/WktReader.h"

namespace zelkora {

namespace {

// What the reader proposes: coordinates as their degrees to six decimals ("-" before a negative
// one, "bad" for a part that reads as none), points as "lat,lon", in the reader's order.
QString proposals(const NotationReader& reader, const QString& text) {
    ReadingLine line;
    tokenize(text, line.tokens);
    line.evidence.reset(line.tokens);
    line.evidence.weigh(line.tokens);
    findNumberParts(line.tokens, line.evidence, line.parts);
    Findings found;
    reader.read(line, found);
    QStringList parts;
    for (const Coordinate& c : found.coordinates) {
        parts << (c.bad ? QStringLiteral("bad")
                        : QString::number(c.negative ? -c.degrees : c.degrees, 'f', 6));
    }
    for (const FoundPoint& p : found.points) {
        parts << (p.bad ? QStringLiteral("bad")
                        : QStringLiteral("%1,%2").arg(p.lat, 0, 'f', 6).arg(p.lon, 0, 'f', 6));
    }
    return parts.join(QLatin1Char(' '));
}

struct ReaderCase {
    const char16_t* line;
    const char* proposals;
};

void expectProposals(const NotationReader& reader, std::span<const ReaderCase> cases) {
    for (const ReaderCase& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(proposals(reader, line).toStdString(), std::string(c.proposals));
    }
}

TEST(MarkedReader, ProposesEachMarkedCoordinate) {
    const ReaderCase cases[] = {
        {u"48°28′49″N 135°04′19″E", "48.480278 135.071944"},
        {u"N 35° 44 37 E 127° 40 30", "35.743611 127.675000"},
        {u"48 28'N", "48.466667"},
        {u"43 град. 18 мин. 57 сек.", "43.315833"},
        {u"105o20’", "105.333333"},
        {u"48°60'N", "bad"},
        {u"28'49\"N", "bad"},
        {u"49 000 ° N", "bad"},
        {u"352 m, 24.8°C", ""},
    };
    expectProposals(MarkedReader(), cases);
}

TEST(BareNumberReader, ProposesGroupsOfBareNumbers) {
    const ReaderCase cases[] = {
        {u"43.1155 131.8855", "43.115500 131.885500"},
        {u"48 51.640 138 04.035", "48.860667 138.067250"},
        {u"N35 47 42.7 E127 40 04.3", "35.795194 127.667861"},
        {u"45 40 severne geografske širine", "45.666667"},
        {u"48.480278 135.071944 72", "bad"},
        {u"12|5 3", "bad"},
        {u"river 12, near the bridge", "12.000000"},
        {u"1 male and 1 female", ""},
    };
    expectProposals(BareNumberReader(), cases);
}

TEST(BlockReader, ProposesDigitsRunTogether) {
    const ReaderCase cases[] = {
        {u"211318N 1054820E", "21.221667 105.805556"},
        {u"N4007 W7407", "40.116667 74.116667"},
        {u"N5554.981' E16023.772'", "55.916350 160.396200"},
        {u"440607с 0395631в", "44.101944 39.941944"},
        {u"0123.5 01234.5", "1.391667 12.575000"},
        {u"V1840 and 1850 m", ""},
        {u"E 412345", ""},
        {u"4075.5N", "bad"},
    };
    expectProposals(BlockReader(), cases);
}

TEST(ColonReader, ProposesColonForms) {
    const ReaderCase cases[] = {
        {u"17:15.7N 111:16.3E", "17.261667 111.271667"},
        {u"40:7:23 -74:7:23", "40.123056 -74.123056"},
        {u"10:35", ""},
        {u"17:60N", "bad"},
    };
    expectProposals(ColonReader(), cases);
}

TEST(DottedReader, ProposesDottedFormsBesideALetter) {
    const ReaderCase cases[] = {
        {u"27.15.45S 18.32.53E", "27.262500 18.548056"},
        {u"1.2.3 4", ""},
        {u"12.06.2015", ""},
    };
    expectProposals(DottedReader(), cases);
}

TEST(LetterInsideReader, ProposesDegreesLetterMinutes) {
    const ReaderCase cases[] = {
        {u"35n42、139e46", "35.700000 139.766667"},
        {u"F35n42", ""},
        {u"19N105E", ""},
        {u"35n75", ""},
    };
    expectProposals(LetterInsideReader(), cases);
}

TEST(FormatReaders, ProposeWholePoints) {
    const ReaderCase nmea[] = {
        {u"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
         "48.117300,11.516667"},
        {u"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48", "bad"},
        {u"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0A", ""},
    };
    expectProposals(NmeaReader(), nmea);
    const ReaderCase kml[] = {
        {u"<coordinates>131.8855,43.1155,0</coordinates>", "43.115500,131.885500"},
        {u"<coordinates>43.1155,131.8855</coordinates>", "bad"},
    };
    expectProposals(KmlReader(), kml);
    const ReaderCase geoJson[] = {
        {u"{\"type\": \"Point\", \"coordinates\": [131.8855, 43.1155]}", "43.115500,131.885500"},
    };
    expectProposals(GeoJsonReader(), geoJson);
    const ReaderCase wkt[] = {{u"POINT (131.8855 43.1155)", "43.115500,131.885500"}};
    expectProposals(WktReader(), wkt);
    const ReaderCase geoUri[] = {{u"geo:43.1155,131.8855", "43.115500,131.885500"}};
    expectProposals(GeoUriReader(), geoUri);
    const ReaderCase links[] = {
        {u"https://yandex.ru/maps/?ll=135.071944%2C48.480278&z=12", "48.480278,135.071944"},
    };
    expectProposals(MapLinkReader(), links);
    const ReaderCase iso[] = {
        {u"+40.7128-074.0060/", "40.712800,-74.006000"},
        {u"Paris+4852+00220", "48.866667,2.333333"},
    };
    expectProposals(Iso6709Reader(), iso);
    const ReaderCase ship[] = {{u"3016N/12303E", "30.266667,123.050000"}};
    expectProposals(ShipReportReader(), ship);
}

}  // namespace

}  // namespace zelkora
