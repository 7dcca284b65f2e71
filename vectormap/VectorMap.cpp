#include "vectormap/VectorMap.h"

#include <cstring>

#include "common/AtomicFile.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"
#include "vectormap/GeoPackageReader.h"
#include "vectormap/GeoPackageWriter.h"

namespace zelkora {

namespace {

[[noreturn]] void cannotWrite(const QString& path, int error) {
    throw ZelkoraError(QStringLiteral("Не удалось записать файл «%1»: %2")
                           .arg(visibleText(path), QString::fromLocal8Bit(std::strerror(error))));
}

}  // namespace

QString vectorMapPath(const QString& dataDir, const QString& mapCaption) {
    return mapFolderPath(dataDir, mapCaption, false) + QStringLiteral("vector.gpkg");
}

VectorMap loadVectorMap(const QString& path) {
    return GeoPackageReader::read(path);
}

void saveVectorMap(const VectorMap& map, const QString& path) {
    const QByteArray bytes = GeoPackageWriter::bytes(map);
    AtomicFile file(path);
    int error = file.open();
    if (error == 0) {
        error = file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    // On the disk before the rename, so a crash cannot leave an empty file in the old one's place.
    if (error == 0) {
        error = file.sync();
    }
    if (error == 0) {
        error = file.close();
    }
    if (error == 0) {
        error = file.commit();
    }
    if (error != 0) {
        cannotWrite(path, error);
    }
}

}  // namespace zelkora
