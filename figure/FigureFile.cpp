#include "figure/FigureFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cerrno>
#include <cmath>

#include "common/ZelkoraError.h"
#include "figure/FigureLayout.h"
#include "figure/FigurePainter.h"
#include "figure/TiffWriter.h"
#include "mapimage/JpegWriter.h"
#include "mapimage/ParallelJobs.h"
#include "mapimage/PictureFile.h"
#include "mapimage/PixelAllocator.h"
#include "mapimage/PngWriter.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPtPerMm = 72.0 / kMmPerInch;
// The PDF's own unit for what is drawn; its text and lines are vectors whatever it is.
constexpr int kPdfResolution = 1200;
// The SVG's size is written in millimetres to this many places.
constexpr int kSvgUnitsPerMm = 100;
constexpr int kJpegQuality = 95;
// A raster larger than this many pixels is drawn in bands, at most kMaxBands of them.
constexpr std::int64_t kPixelsPerBand = 4'000'000;
constexpr std::int64_t kMaxBands = 8;

void checkRasterSize(const QSize& pixels) {
    if (static_cast<std::int64_t>(pixels.width()) * pixels.height() > TPngImage::kMaxPixels) {
        throw ZelkoraError(
            QStringLiteral("Рисунок %1 × %2 пикселей слишком велик: уменьшите размер или dpi")
                .arg(pixels.width())
                .arg(pixels.height()));
    }
}

void rgbRow(const QImage& image, int y, std::uint8_t* rgb) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    for (int x = 0; x < width; ++x, rgb += 3) {
        rgb[0] = static_cast<std::uint8_t>(qRed(line[x]));
        rgb[1] = static_cast<std::uint8_t>(qGreen(line[x]));
        rgb[2] = static_cast<std::uint8_t>(qBlue(line[x]));
    }
}

void writeBytes(const QString& fileName, const QByteArray& bytes) {
    savePictureFile(fileName, [&](std::FILE* file, QString& error) {
        errno = 0;
        if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file) !=
            static_cast<std::size_t>(bytes.size())) {
            error = writeFailureReason(file, "");
            return false;
        }
        return true;
    });
}

// QPdfWriter keeps a page's size in whole points. The page is made that large, rounded up, and
// its MediaBox then set to the figure's exact size, taken from the top of Qt's page (where Qt
// puts the origin of what it draws). The new box is padded with blanks to the old one's length,
// so that every offset in the file stays right.
void setExactPageSize(QByteArray& pdf, QSizeF pagePt, int qtHeightPt) {
    const QByteArray key = "/MediaBox [";
    const qsizetype start = pdf.indexOf(key);
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(']', start);
    if (start < 0 || end < 0 || pdf.indexOf(key, end) >= 0) {
        throw ZelkoraError(QStringLiteral("Не удалось задать размер страницы PDF"));
    }
    const qsizetype room = end - (start + key.size());
    for (int decimals = 6; decimals >= 2; --decimals) {
        QByteArray box = "0 " + QByteArray::number(qtHeightPt - pagePt.height(), 'f', decimals) +
                         ' ' + QByteArray::number(pagePt.width(), 'f', decimals) + ' ' +
                         QByteArray::number(qtHeightPt);
        if (box.size() <= room) {
            box.append(QByteArray(room - box.size(), ' '));
            pdf.replace(start + key.size(), room, box);
            return;
        }
    }
    throw ZelkoraError(QStringLiteral("Не удалось задать размер страницы PDF"));
}

QByteArray pdfBytes(const FigureLayout& layout, const FigureMap& map) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QSizeF pagePt = layout.pageMm * kPtPerMm;
    const int qtWidth = static_cast<int>(std::ceil(pagePt.width() - 1e-6));
    const int qtHeight = static_cast<int>(std::ceil(pagePt.height() - 1e-6));
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Zelkora"));
        writer.setTitle(QStringLiteral("Zelkora figure"));
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(qtWidth, qtHeight), QPageSize::Point),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        painter.scale(kPdfResolution / kMmPerInch, kPdfResolution / kMmPerInch);
        paintFigure(painter, layout, map, prepareFigureScene(layout, map, 0.0), 0.0);
    }
    QByteArray pdf = buffer.data();
    setExactPageSize(pdf, pagePt, qtHeight);
    return pdf;
}

QByteArray svgBytes(const FigureLayout& layout, const FigureMap& map) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setTitle(QStringLiteral("Zelkora figure"));
    generator.setResolution(static_cast<int>(kSvgUnitsPerMm * kMmPerInch));
    generator.setSize(
        QSize(static_cast<int>(std::lround(layout.pageMm.width() * kSvgUnitsPerMm)),
              static_cast<int>(std::lround(layout.pageMm.height() * kSvgUnitsPerMm))));
    // What is drawn is in millimetres, the view box's unit.
    generator.setViewBox(QRectF(QPointF(0, 0), layout.pageMm));
    {
        QPainter painter(&generator);
        paintFigure(painter, layout, map, prepareFigureScene(layout, map, 0.0), 0.0);
    }
    return buffer.data();
}

}  // namespace

QImage renderFigure(const FigureLayout& layout, const FigureMap& map, double dpi) {
    const QSize pixels(std::max(1, pixelsForMm(layout.pageMm.width(), dpi)),
                       std::max(1, pixelsForMm(layout.pageMm.height(), dpi)));
    checkRasterSize(pixels);
    // The pixels in huge pages where the system has them: a page-sized raster is a hundred
    // megabytes, whose page faults would cost more than a layer of the map.
    const qsizetype bytesPerLine = static_cast<qsizetype>(pixels.width()) * 4;
    const std::size_t bytes = static_cast<std::size_t>(bytesPerLine) * pixels.height();
    std::uint8_t* buffer = nullptr;
    try {
        buffer = PixelAllocator<std::uint8_t>().allocate(bytes);
    } catch (const std::bad_alloc&) {
        throw ZelkoraError(QStringLiteral("Не хватает памяти на рисунок %1 × %2 пикселей")
                               .arg(pixels.width())
                               .arg(pixels.height()));
    }
    QImage image(
        buffer, pixels.width(), pixels.height(), bytesPerLine, QImage::Format_RGB32,
        [](void* data) { ::operator delete(data); }, buffer);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMmPerInch * 1000.0));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);

    // A large raster is drawn in bands side by side on the cores, each band a view of the same
    // pixels. Their number follows the raster's size alone, never the machine, so a figure's
    // pixels are the same wherever it is drawn.
    const int bands = static_cast<int>(std::clamp<std::int64_t>(
        static_cast<std::int64_t>(pixels.width()) * pixels.height() / kPixelsPerBand, 1,
        kMaxBands));
    const double pxPerMm = dpi / kMmPerInch;
    if (!map.hasVector()) {
        map.raster(layout.options.layers);  // assembled once, before the bands share it
    }
    const FigureScene scene = prepareFigureScene(layout, map, 1.0 / pxPerMm);
    const auto errors = runJobs(static_cast<std::size_t>(bands), [&](std::size_t i) {
        const int top = static_cast<int>(static_cast<std::int64_t>(pixels.height()) *
                                         static_cast<std::int64_t>(i) / bands);
        const int bottom = static_cast<int>(static_cast<std::int64_t>(pixels.height()) *
                                            static_cast<std::int64_t>(i + 1) / bands);
        QImage band(image.scanLine(top), pixels.width(), bottom - top, bytesPerLine,
                    QImage::Format_RGB32);
        band.fill(Qt::white);
        QPainter painter(&band);
        painter.translate(0, -top);
        painter.scale(pxPerMm, pxPerMm);
        const QRectF visible(0, top / pxPerMm, layout.pageMm.width(), (bottom - top) / pxPerMm);
        paintFigure(painter, layout, map, scene, 1.0 / pxPerMm, visible);
    });
    for (const std::exception_ptr& e : errors) {
        if (e) {
            std::rethrow_exception(e);
        }
    }
    return image;
}

void writeFigure(const FigureLayout& layout, const FigureMap& map, const QString& fileName) {
    const FigureOptions& options = layout.options;
    switch (options.format) {
        case FigureFormat::Pdf:
            writeBytes(fileName, pdfBytes(layout, map));
            return;
        case FigureFormat::Svg:
            writeBytes(fileName, svgBytes(layout, map));
            return;
        default:
            break;
    }
    checkRasterSize(layout.pixels);
    const QImage image = renderFigure(layout, map, options.dpi);
    const auto rows = [&](int y, std::uint8_t* rgb) { rgbRow(image, y, rgb); };
    savePictureFile(fileName, [&](std::FILE* file, QString& error) {
        switch (options.format) {
            case FigureFormat::Png: {
                PngWriter::Settings settings;
                settings.colour = PngWriter::Colour::Rgb;
                settings.pixelsPerMetre =
                    static_cast<std::uint32_t>(std::lround(options.dpi / kMmPerInch * 1000.0));
                return PngWriter(settings).write(file, image.width(), image.height(), rows, error);
            }
            case FigureFormat::Jpeg: {
                JpegWriter::Settings settings;
                settings.quality = kJpegQuality;
                settings.dotsPerInch = static_cast<int>(std::lround(options.dpi));
                return JpegWriter(settings).write(file, image.width(), image.height(), rows, error);
            }
            default:
                return TiffWriter(options.dpi)
                    .write(file, image.width(), image.height(), rows, error);
        }
    });
}

}  // namespace zelkora
