#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

namespace zelkora {

// The encodings a text file of records may come in.
enum class TextEncoding {
    Utf8,     // valid UTF-8 (plain ASCII included), no byte-order mark
    Utf8Bom,  // UTF-8 after a byte-order mark
    Utf16,    // UTF-16 after its byte-order mark, as spreadsheets save "Unicode text"
    Cp1251,   // anything that is not valid UTF-8: Windows-1251, the Cyrillic code page
};

// Finds the encoding of bytes and leaves them in a form decodeText reads: the byte-order mark is
// taken off, and UTF-16 is turned into UTF-8 (so every reader splits 8-bit text).
TextEncoding takeTextEncoding(QByteArray& bytes);

// One piece of the bytes as text. After takeTextEncoding every encoding but CP1251 is UTF-8.
QString decodeText(std::string_view bytes, TextEncoding encoding);

// The whole of a text file's bytes as text, in the encoding takeTextEncoding finds.
QString decodeTextFile(QByteArray bytes);

// The encoding's name for the report: "UTF-8", "UTF-8 с BOM", "UTF-16", "CP1251".
QString encodingName(TextEncoding encoding);

// Whether bytes are well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Why bytes are no text at all, as the user reads it, or nothing when they may be: a NUL byte
// (outside UTF-16 with its byte-order mark), or control characters that no text in any of the
// encodings read holds (all of C0 but tab, line and page breaks and the old end-of-file mark).
std::optional<QString> whyNotText(std::string_view bytes);

}  // namespace zelkora
