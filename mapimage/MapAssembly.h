#pragma once

#include <QString>
#include <array>

#include "common/YieldFn.h"
#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"

// Builds the map of mapCaption from its files below dataDir: the base picture "blank.png" with
// each switched-on layer of kLayerCaptions blended over it, in that order. A missing layer file
// is skipped. Returns false, with `a` untouched, when the base picture is missing.
// The map is built apart and moved into `a` only when complete, so a file that exists but cannot
// be read throws ZelkoraError and leaves `a` as it was. yield runs once per blended row.
bool assembleMap(TPngImage& a, const QString& dataDir, const QString& mapCaption, bool hiRes,
                 const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield = {});
