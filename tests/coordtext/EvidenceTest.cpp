// The evidence, one row a behaviour: which numbers of a line are no coordinates, and why. The
// readers never see them.
#include <gtest/gtest.h>

#include <QStringList>

#include "coordtext/Evidence.h"
#include "coordtext/Tokenizer.h"

namespace zelkora {

namespace {

// Every number of the line with its verdict: "352 quantity", "48 -" where nothing speaks
// against it.
QString verdicts(const QString& text) {
    TokenLine line;
    tokenize(text, line);
    Evidence evidence;
    evidence.reset(line);
    evidence.weigh(line);
    QStringList parts;
    for (std::size_t k = 0; k < line.tokens.size(); ++k) {
        const Token& t = line.tokens[k];
        if (!t.isNumber()) {
            continue;
        }
        const NotCoordinate v = evidence.against(static_cast<int>(k));
        static const char* const kNames[] = {"-",    "quantity",  "label",     "reference",
                                             "date", "year",      "time",      "code",
                                             "list", "plusminus", "variation", "fraction"};
        parts << text.sliced(t.begin, t.end - t.begin) + QLatin1Char(' ') +
                     QString::fromLatin1(kNames[static_cast<int>(v)]);
    }
    return parts.join(QStringLiteral(", "));
}

TEST(Evidence, EveryNumberGetsItsVerdictOnce) {
    struct Case {
        const char16_t* line;
        const char* verdicts;
    };
    const Case cases[] = {
        {u"43.1 131.9", "43.1 -, 131.9 -"},
        {u"352 m, 32.5 km, 314 FT, 24.8°C, 12 kn",
         "352 quantity, 32.5 quantity, 314 quantity, "
         "24.8°C quantity, 12 quantity"},
        {u"1 male and 1 female, 3♂, 12 specimens",
         "1 quantity, 1 quantity, 3 quantity, "
         "12 quantity"},
        {u"lengths 12, 15, 17 mm", "12 quantity, 15 quantity, 17 quantity"},
        {u"43.1155, 131.8855, 72 m", "43.1155 -, 131.8855 -, 72 quantity"},
        {u"alt. 352, fig. 3, site 12, №5, thứ 7", "352 label, 3 label, 12 label, 5 label, 7 label"},
        {u"N 1: 43.1 131.9", "1 label, 43.1 -, 131.9 -"},
        {u"ibid. 22°20′45″N", "22° -, 20′ -, 45″ -"},
        {u"(Ref. 2), DOI: 10.1234/ab.56.7", "2 reference, 10.1234 reference, 56.7 reference"},
        {u"12.VI.2015, 12 April 2022, 11.V.2024",
         "12 date, 2015 date, 12 date, 2022 date, "
         "11 date, 2024 date"},
        {u"12.06.2015, 2021-06-14", "12.06.2015 date, 2021 year, 06 year, 14 year"},
        {u"10:35, 10:35:00, 40:7:23, -74:07:23",
         "10:35 time, 10:35:00 time, 40:7:23 -, "
         "-74:07:23 -"},
        {u"F3JC, WGS84, 20.XXX, 35n42", "3 code, 84 code, 20 code, 35 code, 42 code"},
        {u"19N105E", "19 -, 105 -"},
        {u"1. 43.1155 131.8855", "1 list, 43.1155 -, 131.8855 -"},
        {u"±10, 07/25", "±10 plusminus, 07 fraction, 25 fraction"},
        {u"MAG VAR 5°E (2010)", "5° variation, 2010 year"},
        {u"1200–1350 m", "1200 quantity, 1350 quantity"},
        {u"spn=0.005245,0.010620", "0.005245 label, 0.010620 label"},
        {u"n = 12", "12 quantity"},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(verdicts(line).toStdString(), std::string(c.verdicts));
    }
}

// The rule by which a pair of numbers becomes a point.
TEST(Evidence, ThePairRule) {
    struct Case {
        Support a;
        Support b;
        bool onlyPoints;
        bool point;
    };
    const Case cases[] = {
        {Support::named, Support::named, false, true},
        {Support::named, Support::marks, false, true},
        {Support::marks, Support::marks, false, true},
        {Support::degrees, Support::degrees, false, false},  // slopes of 30° and 45°
        {Support::named, Support::none, false, false},       // 106°40′ E … thứ 7
        {Support::none, Support::none, false, false},        // 1 male and 1 female
        {Support::none, Support::none, true, true},          // 43.1155, 131.8855
        {Support::named, Support::none, true, true},         // 43.1155 N, 131.8855
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.a) * 100 + static_cast<int>(c.b) * 10 + c.onlyPoints);
        EXPECT_EQ(pairHasEvidence(c.a, c.b, c.onlyPoints), c.point);
    }
}

}  // namespace

}  // namespace zelkora
