#pragma once

#include <QString>
#include <array>

#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

// The assembled map for a command that cannot go on without one: a missing base picture, which
// the window passes over quietly, is an error here.
TPngImage requiredMap(const QString& dataDir, int map, bool hiRes,
                      const std::array<bool, kLayerCount>& layers);

}  // namespace zelkora
