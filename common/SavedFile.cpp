#include "common/SavedFile.h"

#include <cerrno>
#include <cstring>

#include "common/AtomicFile.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void cannotCreate(const QString& fileName, int error) {
    throw ZelkoraError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(visibleText(fileName), reason(error)));
}

}  // namespace

void saveFile(const QString& fileName, const FileEncoder& encode) {
    AtomicFile file(fileName);
    if (const int error = file.open()) {
        cannotCreate(fileName, error);
    }
    std::FILE* out = file.stream();
    if (!out) {
        cannotCreate(fileName, errno);
    }
    QString error;
    bool ok = encode(out, error);
    // On the disk before the rename, so a crash cannot leave an empty file in the old one's place.
    if (ok) {
        int writeError = file.sync();
        if (writeError == 0) {
            writeError = file.close();
        }
        if (writeError != 0) {
            ok = false;
            error = reason(writeError);
        }
    }
    if (!ok) {
        throw ZelkoraError(QStringLiteral("Не удалось записать файл \"%1\". %2")
                               .arg(visibleText(fileName), error));
    }
    if (const int renameError = file.commit()) {
        cannotCreate(fileName, renameError);
    }
}

void saveFile(const QString& fileName, const QByteArray& bytes) {
    saveFile(fileName, [&](std::FILE* file, QString& error) {
        errno = 0;
        const auto size = static_cast<std::size_t>(bytes.size());
        if (std::fwrite(bytes.constData(), 1, size, file) != size) {
            error = reason(errno != 0 ? errno : EIO);
            return false;
        }
        return true;
    });
}

}  // namespace zelkora
