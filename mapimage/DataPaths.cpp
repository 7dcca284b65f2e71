#include "mapimage/DataPaths.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "mapimage/TranslitRus2Lat.h"

namespace zelkora {

QString programFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    QString folder =
        ec ? QDir::currentPath() : QFileInfo(QString::fromStdString(exe.string())).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

QString mapFolderPath(const QString& dataDir, const QString& mapCaption, bool hiRes) {
    return dataDir + QStringLiteral("maps/") + TranslitRus2Lat(mapCaption) +
           (hiRes ? QStringLiteral("_HiRes/") : QStringLiteral("/"));
}

QString baseImagePath(const QString& dataDir, const QString& mapCaption, bool hiRes) {
    return mapFolderPath(dataDir, mapCaption, hiRes) + QStringLiteral("blank.png");
}

QString layerImagePath(const QString& dataDir, const QString& mapCaption, bool hiRes,
                       const QString& layerCaption) {
    return mapFolderPath(dataDir, mapCaption, hiRes) + TranslitRus2Lat(layerCaption) +
           QStringLiteral(".png");
}

QString iconPath(const QString& dataDir, int type) {
    return dataDir + QStringLiteral("icons/") + QString::number(type) + QStringLiteral(".png");
}

}  // namespace zelkora
