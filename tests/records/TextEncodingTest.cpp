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

}  // namespace

}  // namespace zelkora

namespace zelkora {

namespace {

// What is text in one of the encodings read, and what no encoding makes text of: a program, a
// picture or an archive renamed .csv is refused rather than read as numbers.
TEST(WhyNotText, RefusesBytesThatNoEncodingMakesText) {
    struct Case {
        const char* why;
        std::string bytes;
        bool text;
    };
    const Case cases[] = {
        {"plain ASCII with tabs and CR LF", "lat\tlon\r\n43.1\t131.9\r\n", true},
        {"UTF-8 with its BOM",
         "\xEF\xBB\xBF"
         "43\xC2\xB0"
         "07'N",
         true},
        {"CP1251 with a page break and the old end-of-file mark", "48\xB0 28'N\f\x1A", true},
        {"UTF-16 with its BOM holds NUL bytes",
         std::string("\xFF\xFE"
                     "4\0"
                     "3\0",
                     6),
         true},
        {"a NUL byte", std::string("43.1 131.9\0", 11), false},
        {"a picture's header", "\x89PNG\r\n\x1A\n\x01\x02", false},
        {"UTF-16 with a NUL character",
         std::string("\xFF\xFE"
                     "4\0\0\0",
                     6),
         false},
        {"one escape character", "43.1\x1B 131.9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(!whyNotText(c.bytes).has_value(), c.text);
    }
}

}  // namespace

}  // namespace zelkora
