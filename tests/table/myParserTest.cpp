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

// One pasted line and the cell text myParser makes of it: "lat, lon" with six decimals each, or
// the empty text. The normaliser's rules themselves are tested in tests/coordtext.
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

    // A cell holds one point: a line of two gives none.
    {"two points are no cell", u"22.8, 106.1; 22.9, 106.2", ""},
    {"one point written twice is one cell",
     u"45\u00B020\u2032N 134\u00B040\u2032E / 45.333; 134.667", "45.333000, 134.667000"},
};

TEST(myParser, WritesTheReferenceLinesAsCells) {
    for (const ParserCase& c : kCases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(std::string(c.why) + ": " + line.toStdString());
        EXPECT_EQ(myParser(line), QString::fromLatin1(c.result));
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
