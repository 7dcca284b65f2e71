#include "tools/PngFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

#include "common/ZelkoraError.h"

void PngFile::save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    // ARGB32 has an alpha channel by format, so Qt writes RGBA even for an opaque picture.
    const QImage rgba = image.convertToFormat(QImage::Format_ARGB32);
    QImageWriter writer(path, "png");
    writer.setQuality(0);  // for PNG this is zlib level 9
    if (!writer.write(rgba)) {
        throw ZelkoraError("cannot write " + path.toStdString() + ": " +
                           writer.errorString().toStdString());
    }
}
