// zelkora-appicon: draws the application icon into an icon-theme folder (hicolor/...), or checks
// that the folder holds what it draws. Run by hand when the icon changes; the check runs in CTest.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>
#include <QTextStream>
#include <exception>

#include "common/ZelkoraError.h"
#include "tools/AppIconPainter.h"
#include "tools/PngFile.h"

namespace zelkora {

namespace {

QString svgPath(const QString& dir) {
    return dir + QStringLiteral("/hicolor/scalable/apps/zelkora.svg");
}

QString pngPath(const QString& dir, int size) {
    return dir + QStringLiteral("/hicolor/%1x%1/apps/zelkora.png").arg(size);
}

void write(const QString& dir) {
    const QString path = svgPath(dir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(AppIconPainter::svg().toUtf8()) < 0 || !file.flush()) {
        throw ZelkoraError("cannot write " + path + ": " + file.errorString());
    }
    for (const int size : AppIconPainter::kPngSizes) {
        PngFile::save(AppIconPainter::png(size), pngPath(dir, size));
    }
}

// The files that differ from the drawing, or are missing.
QStringList stale(const QString& dir) {
    QStringList names;
    QFile file(svgPath(dir));
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != AppIconPainter::svg().toUtf8()) {
        names << file.fileName();
    }
    for (const int size : AppIconPainter::kPngSizes) {
        const QImage committed(pngPath(dir, size));
        if (committed.convertToFormat(QImage::Format_ARGB32) != AppIconPainter::png(size)) {
            names << pngPath(dir, size);
        }
    }
    return names;
}

}  // namespace

}  // namespace zelkora

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() != 2 ||
        (args[0] != QLatin1String("--out") && args[0] != QLatin1String("--check"))) {
        err << "usage: zelkora-appicon --out DIR | --check DIR\n"
               "  --out draws DIR/hicolor/scalable/apps/zelkora.svg and the PNG sizes;\n"
               "  --check exits 1 when the files in DIR differ from what it draws.\n";
        return 2;
    }
    try {
        if (args[0] == QLatin1String("--out")) {
            zelkora::write(args[1]);
            return 0;
        }
        const QStringList names = zelkora::stale(args[1]);
        for (const QString& name : names) {
            err << "out of date: " << name << '\n';
        }
        if (!names.isEmpty()) {
            err << "redraw them: zelkora-appicon --out " << args[1] << '\n';
        }
        return names.isEmpty() ? 0 : 1;
    } catch (const std::exception& e) {
        err << "zelkora-appicon: " << e.what() << '\n';
        return 1;
    }
}
