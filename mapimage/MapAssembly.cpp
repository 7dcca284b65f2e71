#include "mapimage/MapAssembly.h"

#include <QFileInfo>

#include "mapimage/Compositing.h"

namespace {

// A directory of that name counts as missing, like any other thing that is not a file.
bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

}  // namespace

bool assembleMap(TPngImage& a, const QString& dataDir, const QString& mapCaption, bool hiRes,
                 const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield) {
    const QString basePath = baseImagePath(dataDir, mapCaption, hiRes);
    if (!fileExists(basePath)) {
        return false;
    }
    TPngImage map;
    map.LoadFromFile(basePath);
    TPngImage layer;
    for (int i = 0; i < kLayerCount; ++i) {
        if (!layersOn[static_cast<std::size_t>(i)]) {
            continue;
        }
        const QString layerPath = layerImagePath(dataDir, mapCaption, hiRes, kLayerCaptions[i]);
        if (!fileExists(layerPath)) {
            continue;
        }
        layer.LoadFromFile(layerPath);
        MergePNGLayerMy(map, layer, 0, 0, yield);
    }
    a = std::move(map);
    return true;
}
