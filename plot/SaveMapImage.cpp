#include "plot/SaveMapImage.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/AtomicFile.h"
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
    AtomicFile file(fileName);
    if (const int error = file.open()) {
        cannotCreate(fileName, error);
    }
    std::FILE* out = file.stream();
    if (!out) {
        cannotCreate(fileName, errno);
    }

    QString error;
    bool ok = false;
    switch (format) {
        case ExportFormat::Jpeg:
            ok = writeJpeg(out, picture, error);
            break;
        case ExportFormat::Png:
            ok = writePng(out, picture, error);
            break;
        case ExportFormat::Bmp:
            ok = writeBmp(out, picture, error);
            break;
    }
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
        throw ZelkoraError(
            QStringLiteral("Не удалось записать файл \"%1\". %2").arg(fileName, error));
    }
    if (const int renameError = file.commit()) {
        cannotCreate(fileName, renameError);
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
