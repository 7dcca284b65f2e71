#pragma once

#include <QString>
#include <cstdint>

#include "vectormap/VectorMap.h"

namespace zelkora {

// Reads a map's GeoPackage. The file is read whole into memory and opened from there, read-only,
// so no journal or lock file beside it is touched, and a file another program rewrites meanwhile
// is refused rather than read half old and half new. Everything read is checked: the GeoPackage
// tables, each layer's table, reference system, columns, geometries and levels. A hostile file
// costs bounded time and memory: no triggers, views, virtual tables or generated columns are run,
// blobs are limited to the file's size and SQLite's work to a budget in proportion to it.
class GeoPackageReader {
  public:
    // Larger files are refused before they are read: a map's data is a few megabytes.
    static constexpr std::uint64_t kMaxFileBytes = 512ull << 20;

    // Throws ZelkoraError with the user's message for a file that is missing, unreadable, no
    // GeoPackage, a GeoPackage without a map's layers, or damaged.
    static VectorMap read(const QString& path);
};

}  // namespace zelkora
