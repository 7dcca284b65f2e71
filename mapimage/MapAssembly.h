#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <memory>

#include "common/YieldFn.h"
#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

// Builds the map of mapCaption from its files below dataDir: the base picture "blank.png" with
// each switched-on layer of kLayerCaptions blended over it, in that order. A missing layer file
// is skipped. Returns false, with `a` untouched, when the base picture is missing.
// The map is built apart and moved into `a` only when complete, so a file that exists but cannot
// be read throws ZelkoraError and leaves `a` as it was. yield runs once per blended row.
// Reads every file afresh; the window keeps a MapAssembly instead.
bool assembleMap(TPngImage& a, const QString& dataDir, const QString& mapCaption, bool hiRes,
                 const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield = {});

// Map assembly for a window that assembles again on every click: what it has read and blended
// is kept for the next assembly, so that a file is decoded again only when it changed on disk
// (another path, size, modification time or file) and switching layer k re-blends only the
// layers from k on. The result is always byte for byte what assembleMap gives for the files as
// they are now. Everything kept belongs to the map last assembled, at the resolution assembled
// and at the other one, and it never holds more than kMaxRasters rasters' worth of the larger
// of the two sizes: layers are kept as their runs (LayerRuns).
class MapAssembly {
  public:
    static constexpr int kMaxRasters = 8;

    MapAssembly();
    ~MapAssembly();
    MapAssembly(const MapAssembly&) = delete;
    MapAssembly& operator=(const MapAssembly&) = delete;

    // As assembleMap. yield runs once per row of each blend that the kept parts do not spare;
    // it must not start another assembly on this object (that one throws ZelkoraError).
    bool assemble(TPngImage& a, const QString& dataDir, const QString& mapCaption, bool hiRes,
                  const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield = {});

    // Starts reading, on a thread of its own, the files of the map last assembled at the other
    // resolution (hiRes), so that a switch to it finds them read. Does nothing for another map,
    // or when those files are kept or being read already. The assembly that wants them waits
    // for the read to end; a file that changed meanwhile is read again, one that failed too.
    void prefetch(const QString& dataDir, const QString& mapCaption, bool hiRes);
    // Whether files read ahead wait to be taken.
    bool prefetching() const;

    // The bytes kept for the next assembly.
    std::size_t cachedBytes() const;
    // How many picture files this object has decoded so far.
    int filesDecoded() const;

    struct Cache;  // what is kept, opaque

  private:
    bool build(const QString& dataDir, const QString& mapCaption, bool hiRes,
               const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield);
    void trim();

    std::unique_ptr<Cache> cache_;

    friend bool assembleMap(TPngImage&, const QString&, const QString&, bool,
                            const std::array<bool, kLayerCount>&, const YieldFn&);
};

}  // namespace zelkora
