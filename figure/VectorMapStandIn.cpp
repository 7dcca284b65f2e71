// Stands in for the vector data's reader until it lands in vectormap/: every map folder counts
// as one without vector data, so figures are drawn from the raster layers.
#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

QString vectorMapPath(const QString& dataDir, const QString& mapCaption) {
    return mapFolderPath(dataDir, mapCaption, false) + QStringLiteral("vector.gpkg.pending");
}

VectorMap loadVectorMap(const QString& path) {
    throw ZelkoraError(QStringLiteral("Векторные данные карты ещё не читаются: ") + path);
}

}  // namespace zelkora
