#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include "table/CommaText.h"

namespace zelkora {

namespace {

struct SplitCase {
    const char16_t* text;
    QStringList items;
};

TEST(SplitCommaText, FollowsTheCommaTextRules) {
    const SplitCase cases[] = {
        {u"48.5, 135.25", {"48.5", "135.25"}},
        {u"48.5 135.25", {"48.5", "135.25"}},
        {u"48,5, 135,25", {"48", "5", "135", "25"}},
        {u"  a \t\r\n b  ", {"a", "b"}},  // runs of blanks count once
        {u"a , ,b", {"a", "", "b"}},
        {u"a,,b", {"a", "", "b"}},
        {u"a,", {"a", ""}},  // a final comma gives an empty item...
        {u"a, ", {"a"}},     // ...unless a blank follows it
        {u"a,,", {"a", "", ""}},
        {u",a", {"", "a"}},
        {u"", {}},
        {u" \t ", {}},
        {u"\"a b\",c", {"a b", "c"}},
        {u"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {u"\"open to the end", {"open to the end"}},
        {u"\"ab\"c", {"ab", "c"}},
        {u"\"\"", {""}},
        {u"a\u00A0b c", {"a\u00A0b", "c"}},  // only codes 1 to 32 are white space
        {u"\"\u043A\u0440\u0443\u0433\u0438 \u043F\u043E\u043B\u044B\u0435\"",
         {QString::fromUtf16(u"\u043A\u0440\u0443\u0433\u0438 \u043F\u043E\u043B\u044B\u0435")}},
    };
    for (const SplitCase& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(SplitCommaText(text), c.items);
    }
}

TEST(JoinCommaText, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(JoinCommaText({"a", "b"}), "a,b");
    EXPECT_EQ(JoinCommaText({"a b", "c,d", "say \"hi\"", "\t"}),
              "\"a b\",\"c,d\",\"say \"\"hi\"\"\",\"\t\"");
    EXPECT_EQ(JoinCommaText({""}), "\"\"");
    EXPECT_EQ(JoinCommaText({"", ""}), ",");
    EXPECT_EQ(JoinCommaText({}), "");
    EXPECT_EQ(JoinCommaText({QString::fromUtf16(u"\u0440\u043E\u043C\u0431\u044B"), "\u00E9"}),
              QString::fromUtf16(u"\u0440\u043E\u043C\u0431\u044B,\u00E9"));
}

TEST(CommaText, JoinThenSplitGivesTheItemsBack) {
    const QStringList items = {" lead", "trail ", "in\"side", "a,b", "x", ""};
    const QStringList back = SplitCommaText(JoinCommaText(items));
    // The trailing empty item has nothing after its comma, so it survives as well.
    EXPECT_EQ(back, items);
}

}  // namespace

}  // namespace zelkora
