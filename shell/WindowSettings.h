#pragma once

#include <array>

#include "mapimage/DataPaths.h"
#include "projection/Tpar.h"

namespace zelkora {

// What the window remembers between runs: the map, its layers, the high-resolution maps, the
// marker size and red markers. They are kept in the user's settings (QSettings, organisation and
// application "zelkora", beside the figure dialog's), and read back through the checks of the
// controls they go into: a value that is not there, or not one the control takes (a map or a
// size out of range, a word that is no yes or no), gives that control's start-up value. The
// table is not remembered.
struct WindowSettings {
    static constexpr int kDefaultMarkerSize = 60;

    int map = kMapFarEast;
    std::array<bool, kLayerCount> layers = kDefaultLayers;
    bool hiRes = false;
    int markerSize = kDefaultMarkerSize;
    bool red = false;

    static WindowSettings load();
    void save() const;

    friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

}  // namespace zelkora
