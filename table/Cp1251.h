#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace zelkora {

// The single-byte code page of table files: Windows-1251 (Cyrillic), the tables taken from
// glibc's iconv once. Encoding writes "?" for a character the code page lacks (one per code
// point). The byte 0x98, which the code page leaves undefined, stands for U+0098 both ways.
QByteArray encodeCp1251(const QString& text);
QString decodeCp1251(std::string_view bytes);

}  // namespace zelkora
