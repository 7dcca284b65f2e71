#include "fuzz/support/FuzzInput.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zelkora {

QString fuzzFilePath(const char* name) {
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        fuzzFailure("no temporary folder");
    }
    return dir.filePath(QString::fromLatin1(name));
}

void writeFuzzFile(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile file(path);
    static const char kNothing = 0;
    data = size > 0 ? data : reinterpret_cast<const std::uint8_t*>(&kNothing);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        fuzzFailure("cannot write the input file");
    }
}

QString fuzzText(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    if ((data[0] & 1) == 0) {
        return QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                 static_cast<qsizetype>(size - 1));
    }
    std::vector<char16_t> units((size - 1) / 2);
    if (units.empty()) {
        return {};
    }
    std::memcpy(units.data(), data + 1, units.size() * sizeof(char16_t));
    return QString(reinterpret_cast<const QChar*>(units.data()),
                   static_cast<qsizetype>(units.size()));
}

void fuzzFailure(const char* what) {
    std::fprintf(stderr, "fuzz failure: %s\n", what);
    std::abort();
}

}  // namespace zelkora
