#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include "common/ZelkoraError.h"
#include "table/CommaText.h"
#include "table/CoordFormat.h"
#include "table/myParser.h"

namespace {

// One pasted line and what the normaliser makes of it. normalized and items are checked
// when normalized is set; error, when set, is the item the conversion fails on.
struct ParserCase {
    const char16_t* line;
    const char* normalized;
    int items;
    const char* result;
    const char* error;
};

const ParserCase kCases[] = {
    // The reference lines.
    {u"0.165454 0.998412", "0.165454 0.998412", 2, "0.165454, 0.998412", nullptr},
    {u" N 48 51.640 E 138 04.035", "48 51.640 138 04.035", 4, "", nullptr},
    {u" (53\u00B056'27\"N 158\u00B001'31\"E)", "53 56 27 158 01 31", 6, "53.940833, 158.025278",
     nullptr},
    {u" (43\u00B0N 146\u00B0E)", "43 146", 2, "43.000000, 146.000000", nullptr},
    {u" (48\u00B050'05.0\"N 138\u00B004'45.0\"E)", "48 50 05.0 138 04 45.0", 6,
     "48.834722, 138.079167", nullptr},
    {u" (N 35\u00B0 44' 37\"-36\u00B0 59' 40\" E 127\u00B0 40'30\"-127\u00B0 49'45\")",
     "35 44 37 36 59 40 127 40 30 127 49 45", 12, "", nullptr},
    {u" N35 47 42.7 E127 40 04.3", "35 47 42.7 127 40 04.3", 6, "35.795194, 127.667861", nullptr},
    {u" N 44\u00B055.670-680\u2019; W 109\u00B040.220-230\u2019", "44 55.670 680 109 40.220 230", 6,
     "45.116722, 109.734222", nullptr},
    {u" (63\u00B0 15\u2019 50.9\u2019\u2019N 151\u00B0 03\u2019 27.4\u2019\u2019E)",
     "63 15 50.9 151 03 27.4", 6, "63.264139, 151.057611", nullptr},
    {u" (48\u00B051'39\"N 138\u00B004'02\"E)", "48 51 39 138 04 02", 6, "48.860833, 138.067222",
     nullptr},
    {u" 34 41 26N 125 11 50E", "34 41 26 125 11 50", 6, "34.690556, 125.197222", nullptr},
    {u" (37\u00B052\u00B435\u00B4\u00B4N  90\u00B018\u00B418\u00B4\u00B4W)", "37 52 35 90 18 18", 6,
     "37.876389, 90.305000", nullptr},
    {u" N51\u00B039'7\u2033 E140\u00B054'53\u2033", "51 39 7 140 54 53", 6, "51.651944, 140.914722",
     nullptr},
    {u" (43\u00B007'04\"N - 131\u00B028'23\"E)", "43 07 04 131 28 23", 6, "43.117778, 131.473056",
     nullptr},
    {u" N 43\u00B036'29,0\" E 132\u00B014'59,5\"", "43 36 29.0 132 14 59.5", 6,
     "43.608056, 132.249861", nullptr},
    {u" 46\u00BA38'23,6N 142\u00BA54'04,8E", "46 38 23.6 142 54 04.8", 6, "46.639889, 142.901333",
     nullptr},
    {u" 43\u00B052\u201917,0\u201DN 146\u00B051\u201918,1\u201DE", "43 52 17.0 146 51 18.1", 6,
     "43.871389, 146.855028", nullptr},
    // Further cases.
    {u"53.1, 158.2", "53.1.158.2", 1, "", nullptr},
    {u"53,1 158,2", nullptr, 0, "53.100000, 158.200000", nullptr},
    {u"53.5\t158.2", "53.5\t158.2", 2, "53.500000, 158.200000", nullptr},
    {u"-33.5 -70.6", nullptr, 0, "33.500000, 70.600000", nullptr},
    {u"55.75 N, 37.62 E", "55.75 .37.62", 2, nullptr, ".37.62"},
    {u"55\u00B045'20\"N, 37\u00B037'3\"E", "55 45 20 .37 37 3", 6, "55.755556, 0.987500", nullptr},
    {u"1.2.3 4", nullptr, 0, nullptr, "1.2.3"},
    {u"12|5 3", nullptr, 0, nullptr, "12|5"},
    {u"", "", 0, "", nullptr},
    {u"   \t ", "", 0, "", nullptr},
    {u"1234.567891 5", nullptr, 0, "1234.567890, 5.000000", nullptr},
    {u"1234567890 1", nullptr, 0, "1.23456789E9, 1.000000", nullptr},
    // Our own: steps 4 to 6 run once each, a lone "." is zero, NBSP and other non-ASCII
    // white space is blanked like any other character, "\s" still covers VT and FF.
    {u"1...5 2", "1..5 2", 2, nullptr, "1..5"},
    {u". 7", ".7", 1, "", nullptr},
    {u"5 . 7", "5.7", 1, "", nullptr},
    {u". 5 6", ".5 6", 2, "0.500000, 6.000000", nullptr},
    {u"| 5", "| 5", 2, nullptr, "|"},
    {u"48.5\u00A0135.25", "48.5 135.25", 2, "48.500000, 135.250000", nullptr},
    {u"\u200348.5\u3000135.25\u2028", "48.5 135.25", 2, "48.500000, 135.250000", nullptr},
    {u"\v48.5\f\f135.25\v", "48.5\f135.25", 2, "48.500000, 135.250000", nullptr},
    {u"1 2 3", "1 2 3", 3, "", nullptr},
    {u"\U0001F600 1 \U0001F600 2", "1 2", 2, "1.000000, 2.000000", nullptr},
    {u"91 181 60 60 60 60", nullptr, 0, "94.033333, 61.016667", nullptr},  // no range check
};

TEST(myParser, NormalisesEveryReferenceNotation) {
    for (const ParserCase& c : kCases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(line.toStdString());
        if (c.normalized) {
            const QString normalized = normalizeCoordinateText(line);
            EXPECT_EQ(normalized, QString::fromLatin1(c.normalized));
            EXPECT_EQ(SplitCommaText(normalized).size(), c.items);
        }
        if (c.error) {
            try {
                myParser(line);
                ADD_FAILURE() << "no conversion error";
            } catch (const ZelkoraError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid floating point value")
                                           .arg(QString::fromLatin1(c.error)));
            }
        } else {
            EXPECT_EQ(myParser(line), QString::fromLatin1(c.result));
        }
    }
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
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatCoordinate(c.value), QString::fromLatin1(c.text));
    }
}

}  // namespace
