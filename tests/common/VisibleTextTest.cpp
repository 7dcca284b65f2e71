#include <gtest/gtest.h>

#include <stdexcept>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

TEST(VisibleText, WritesOutWhatWouldNotShow) {
    struct Case {
        const char16_t* text;
        const char* shown;
    };
    const Case cases[] = {
        {u"48.5, 135.25", "48.5, 135.25"},
        {u"круги «залитые»", "круги «залитые»"},
        {u"\U0001F30D", "\U0001F30D"},       // a character beyond the first plane that shows
        {u"135.25\u0098", "135.25\\u0098"},  // C1 control, from byte 0x98 of a table file
        {u"a\tb\r\n", "a\\u0009b\\u000D\\u000A"},
        {u"\u007F", "\\u007F"},
        {u"1\u00A05", "1\\u00A05"},            // no-break space
        {u"48\u200B", "48\\u200B"},            // zero-width space
        {u"\u202Egnp.exe", "\\u202Egnp.exe"},  // right-to-left override
        {u"\uFEFF1", "\\uFEFF1"},
        {u"a\u2028b", "a\\u2028b"},
        {u"\u0378", "\\u0378"},          // unassigned
        {u"\U000E0041", "\\U000E0041"},  // a tag character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(visibleText(QStringView(c.text).toString()).toStdString(), c.shown);
    }
    const QChar loneSurrogate(char16_t{0xD800});
    EXPECT_EQ(visibleText(QString(loneSurrogate) + u'x').toStdString(), "\\uD800x");
}

// Whatever escapes an action, the user reads the program's words, never a library's.
TEST(MessageOfCurrentError, SaysZelkoraErrorsAndHidesTheRest) {
    const auto messageOf = [](const std::function<void()>& fail) {
        try {
            fail();
        } catch (...) {
            return messageOfCurrentError().toStdString();
        }
        return std::string("no exception");
    };
    EXPECT_EQ(messageOf([] { throw ZelkoraError("Invalid numeric input"); }),
              "Invalid numeric input");
    EXPECT_EQ(messageOf([] { throw std::bad_alloc(); }), "Не хватает памяти: действие прервано.");
    EXPECT_EQ(messageOf([] {
                  throw std::out_of_range(
                      "basic_string_view::substr: __pos (which is 2) > __size (which is 1)");
              }),
              "Непредвиденная ошибка программы: действие прервано.");
    EXPECT_EQ(messageOf([] { throw 42; }), "Непредвиденная ошибка программы: действие прервано.");
}

}  // namespace

}  // namespace zelkora
