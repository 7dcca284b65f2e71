#include "plot/SaveMapImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/ZelkoraError.h"
#include "plot/ImageEncoders.h"

namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void cannotCreate(const QString& fileName, int error) {
    throw ZelkoraError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason(error)));
}

// A new file beside target with a name of its own, created with the mode an ordinary new file
// gets (0666 less the umask), so the rename leaves the usual permissions.
int createTemporary(const QByteArray& target, QByteArray& tempName) {
    const int slash = target.lastIndexOf('/');
    const QByteArray dir = target.left(slash + 1);
    const QByteArray base = target.mid(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = dir + '.' + base + '.' +
                   QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

void SaveMapImage(const TPngImage& picture, const QString& fileName, ExportFormat format) {
    if (picture.isEmpty()) {
        throw ZelkoraError("Нет изображения для сохранения: карта ещё не собрана");
    }
    if (format != ExportFormat::Jpeg && format != ExportFormat::Png &&
        format != ExportFormat::Bmp) {
        throw ZelkoraError(
            QStringLiteral("Неизвестный тип файла изображения: %1").arg(static_cast<int>(format)));
    }
    QByteArray target = QFile::encodeName(fileName);
    if (target.isEmpty()) {
        cannotCreate(fileName, ENOENT);
    }
    // Through a link the file it points to is replaced, not the link.
    if (char* real = ::realpath(target.constData(), nullptr)) {
        struct stat link {};
        if (::lstat(target.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            target = real;
        }
        std::free(real);
    }
    // What creating the file itself would refuse: a folder of that name, or a write-protected
    // file, which the rename would otherwise replace.
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            cannotCreate(fileName, EISDIR);
        }
        if (::access(target.constData(), W_OK) != 0) {
            cannotCreate(fileName, errno);
        }
    }

    QByteArray tempName;
    const int fd = createTemporary(target, tempName);
    if (fd < 0) {
        cannotCreate(fileName, errno);
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        ::close(fd);
        ::unlink(tempName.constData());
        cannotCreate(fileName, error);
    }

    QString error;
    bool ok = false;
    switch (format) {
        case ExportFormat::Jpeg:
            ok = writeJpeg(file, picture, error);
            break;
        case ExportFormat::Png:
            ok = writePng(file, picture, error);
            break;
        case ExportFormat::Bmp:
            ok = writeBmp(file, picture, error);
            break;
    }
    errno = 0;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = reason(errno);
    }
    if (ok && ::rename(tempName.constData(), target.constData()) != 0) {
        const int renameError = errno;
        ::unlink(tempName.constData());
        cannotCreate(fileName, renameError);
    }
    if (!ok) {
        ::unlink(tempName.constData());
        throw ZelkoraError(
            QStringLiteral("Не удалось записать файл \"%1\". %2").arg(fileName, error));
    }
}

std::optional<ExportFormat> exportFormatFromExtension(const QString& fileName) {
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
        return ExportFormat::Jpeg;
    }
    if (ext == QLatin1String("png")) {
        return ExportFormat::Png;
    }
    if (ext == QLatin1String("bmp")) {
        return ExportFormat::Bmp;
    }
    return std::nullopt;
}
