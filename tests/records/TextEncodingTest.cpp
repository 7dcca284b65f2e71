#include <gtest/gtest.h>

#include "records/TextEncoding.h"
#include "tests/table/QtPrinters.h"

namespace zelkora {

namespace {

TEST(TakeTextEncoding, FindsTheEncodingAndLeavesUtf8OrCp1251) {
    struct Case {
        const char* name;
        QByteArray bytes;
        TextEncoding encoding;
        QByteArray left;  // what the readers split
    };
    const QByteArray utf8 = QStringLiteral("Вид;Широта").toUtf8();
    const Case cases[] = {
        {"ascii", "lat,lon", TextEncoding::Utf8, "lat,lon"},
        {"utf8", utf8, TextEncoding::Utf8, utf8},
        {"utf8 bom", "\xEF\xBB\xBF" + utf8, TextEncoding::Utf8Bom, utf8},
        {"cp1251", "\xC2\xE8\xE4;\xD8\xE8\xF0\xEE\xF2\xE0", TextEncoding::Cp1251,
         "\xC2\xE8\xE4;\xD8\xE8\xF0\xEE\xF2\xE0"},
        {"utf16le", QByteArray("\xFF\xFE\x12\x04\x38\x04;\x00", 8), TextEncoding::Utf16,
         QStringLiteral("Ви;").toUtf8()},
        {"utf16be", QByteArray("\xFE\xFF\x04\x12\x04\x38\x00;", 8), TextEncoding::Utf16,
         QStringLiteral("Ви;").toUtf8()},
        {"empty", "", TextEncoding::Utf8, ""},
    };
    for (const Case& c : cases) {
        QByteArray bytes = c.bytes;
        EXPECT_EQ(takeTextEncoding(bytes), c.encoding) << c.name;
        EXPECT_EQ(bytes, c.left) << c.name;
    }
    EXPECT_EQ(decodeText("\xC2\xE8\xE4", TextEncoding::Cp1251), QStringLiteral("Вид"));
}

TEST(IsValidUtf8, RefusesEveryMalformedSequence) {
    struct Case {
        const char* name;
        std::string_view bytes;
        bool valid;
    };
    const Case cases[] = {
        {"ascii run past eight bytes", "abcdefghijklmnop", true},
        {"two, three and four bytes", "\xC3\xA9 \xE2\x80\x9D \xF0\x9F\x98\x80", true},
        {"lone continuation", "a\x80", false},
        {"cut short at the end", "abc\xE2\x80", false},
        {"overlong slash", "\xC0\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cp1251 word", "\xC2\xE8\xE4", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.name;
    }
}

// Text is text in any encoding the readers take; a NUL, or control characters all through, are
// the signs of another kind of file.
TEST(LooksBinary, TellsDataFromText) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool binary;
    };
    const Case cases[] = {
        {"utf8 with tabs and line ends",
         "a\tb\r\nc\f"
         "d\n",
         false},
        {"cp1251", "\xC2\xE8\xE4;\xD8\xE8\xF0", false},
        {"utf16 with its byte-order mark",
         QByteArray("\xFF\xFE"
                    "a\0b\0\n\0",
                    8),
         false},
        {"a stray control character", "48.5 135.2\x1b\n", false},
        {"a NUL", QByteArray("48.5\0 135.2", 11), true},
        {"utf16 without a byte-order mark", QByteArray("a\0b\0", 4), true},
        {"control characters all through", QByteArray(30, '\x02') + "abc", true},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(looksBinary(c.bytes), c.binary) << c.name;
    }
}

}  // namespace

}  // namespace zelkora
