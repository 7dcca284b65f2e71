// A map's vector data read from any bytes. A file that reads is written and read back, which
// must give the same file again: the reader accepts only what the writer can write, and keeps
// every path and level.
#include <cstddef>
#include <cstdint>

#include "common/ZelkoraError.h"
#include "fuzz/support/FuzzInput.h"
#include "vectormap/GeoPackageWriter.h"
#include "vectormap/VectorMap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    static const QString in = fuzzFilePath("in.gpkg");
    static const QString out = fuzzFilePath("out.gpkg");
    writeFuzzFile(in, data, size);
    VectorMap map;
    try {
        map = loadVectorMap(in);
    } catch (const ZelkoraError&) {
        return 0;
    }
    saveVectorMap(map, out);
    const VectorMap back = loadVectorMap(out);
    if (GeoPackageWriter::bytes(back) != GeoPackageWriter::bytes(map)) {
        fuzzFailure("a map saved and loaded changed");
    }
    return 0;
}
