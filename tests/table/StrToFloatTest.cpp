#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "table/StrToFloat.h"

namespace zelkora {

namespace {

struct Good {
    const char16_t* text;
    double value;
};

TEST(StrToFloat, AcceptsTheDecimalGrammar) {
    const Good cases[] = {
        {u"5", 5.0},
        {u"5.", 5.0},
        {u".5", 0.5},
        {u"-0.25", -0.25},
        {u"1.5e2", 150.0},
        {u"1.5E-2", 0.015},
        {u"+7", 7.0},
        {u".", 0.0},
        {u"007", 7.0},
        {u"  48.5  ", 48.5},
        {u"1e", 1.0},
        {u"2E+", 2.0},
        {u".e5", 0.0},
        {u"0.1", 0.1},
        {u"1e-400", 0.0},
        {u"4.9e-324", 4.9e-324},
        {u"158.02527777", 158.02527777},
        {u"1.7976931348623157e308", 1.7976931348623157e308},
        {u"-1e-400", -0.0},
        {u"0.0000000001e-395", 0.0},
        {u"1000e305", 1e308},
        {u"0.001e311", 1e308},
        {u"100000000000000000000000000000000000000000000000000e-50", 1.0},
    };
    for (const Good& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(StrToFloat(text), c.value);
        // The normaliser's overload reads the same.
        EXPECT_EQ(StrToFloat(std::string_view(text.toStdString())), c.value);
    }
}

TEST(StrToFloat, RejectsEverythingElseWithTheItemInTheMessage) {
    const char16_t* cases[] = {
        u"",    u"+",    u"-",   u"5,5",  u"N48", u"48\u00B0", u"1.2.3", u"12|5",   u"e5",
        u"+e5", u"1e5x", u"1 2", u"0x10", u"inf", u"nan",      u"1e309", u"-1e400",
    };
    for (const char16_t* c : cases) {
        const QString text = QString::fromUtf16(c);
        SCOPED_TRACE(text.toStdString());
        const QString message =
            QStringLiteral("'%1' is not a valid floating point value").arg(text);
        try {
            StrToFloat(text);
            ADD_FAILURE() << "accepted";
        } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message(), message);
        }
        if (text.toLatin1() != text.toUtf8()) {
            continue;  // the normaliser's items are ASCII
        }
        try {
            StrToFloat(std::string_view(text.toStdString()));
            ADD_FAILURE() << "accepted as ASCII";
        } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message(), message);
        }
    }
}

// The message shows what it quotes: an invisible character would make it seem to reject a
// valid number.
// A number of a million digits is too large for a double, and its message shows only its start.
TEST(StrToFloat, AHugeItemIsQuotedCutShort) {
    const std::string digits(1000000, '9');
    const QString message = QStringLiteral("'%1\u2026' is not a valid floating point value")
                                .arg(QString(kMaxQuotedCharacters, QLatin1Char('9')));
    EXPECT_THROW(
        try { StrToFloat(std::string_view(digits)); } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message(), message);
            throw;
        },
        ZelkoraError);
    EXPECT_THROW(
        try { StrToFloat(QString::fromStdString(digits)); } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message(), message);
            throw;
        },
        ZelkoraError);
}

TEST(StrToFloat, TheMessageWritesOutInvisibleCharacters) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"135.25\u0098", "'135.25\\u0098' is not a valid floating point value"},
        {u"\t5", "'\\u00095' is not a valid floating point value"},
        {u"1\u00A05", "'1\\u00A05' is not a valid floating point value"},
        {u"48\u200B", "'48\\u200B' is not a valid floating point value"},
    };
    for (const auto& [item, message] : cases) {
        try {
            StrToFloat(QString::fromUtf16(item));
            ADD_FAILURE() << "accepted " << message;
        } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message().toStdString(), message);
        }
    }
}

}  // namespace

}  // namespace zelkora
