#include "plot/SaveMapImage.h"

#include <QFileInfo>

#include "common/ZelkoraError.h"
#include "mapimage/PictureFile.h"
#include "plot/ImageEncoders.h"

namespace zelkora {

void checkExportable(const TPngImage& picture) {
    if (picture.isEmpty()) {
        throw ZelkoraError("Нет изображения для сохранения: карта ещё не собрана");
    }
}

void SaveMapImage(const TPngImage& picture, const QString& fileName, ExportFormat format) {
    checkExportable(picture);
    bool (*encoder)(std::FILE*, const TPngImage&, QString&) = nullptr;
    switch (format) {
        case ExportFormat::Jpeg:
            encoder = writeJpeg;
            break;
        case ExportFormat::Png:
            encoder = writePng;
            break;
        case ExportFormat::Bmp:
            encoder = writeBmp;
            break;
    }
    if (!encoder) {
        throw ZelkoraError(
            QStringLiteral("Неизвестный тип файла изображения: %1").arg(static_cast<int>(format)));
    }
    savePictureFile(fileName,
                    [&](std::FILE* file, QString& error) { return encoder(file, picture, error); });
}

std::optional<ExportFormat> exportFormatFromName(const QString& name) {
    const QString lower = name.toLower();
    if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg")) {
        return ExportFormat::Jpeg;
    }
    if (lower == QLatin1String("png")) {
        return ExportFormat::Png;
    }
    if (lower == QLatin1String("bmp")) {
        return ExportFormat::Bmp;
    }
    return std::nullopt;
}

std::optional<ExportFormat> exportFormatFromExtension(const QString& fileName) {
    return exportFormatFromName(QFileInfo(fileName).suffix());
}

}  // namespace zelkora
