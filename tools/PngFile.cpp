#include "tools/PngFile.h"

#include <QDir>
#include <QFileInfo>

#include "mapimage/TPngImage.h"

namespace zelkora {

namespace {

// The committed pictures carry a pHYs chunk of 100 dpi.
constexpr std::uint32_t kPixelsPerMetre = 3937;

}  // namespace

void PngFile::save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    PngWriter::Settings settings;
    settings.compressionLevel = 9;
    settings.pixelsPerMetre = kPixelsPerMetre;
    // Straight alpha, whatever the painter left.
    TPngImage::fromQImage(image.convertToFormat(QImage::Format_ARGB32)).SaveToFile(path, settings);
}

}  // namespace zelkora
