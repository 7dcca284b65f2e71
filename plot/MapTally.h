#pragma once

#include <QtGlobal>
#include <array>
#include <optional>
#include <span>

#include "plot/PictureBounds.h"
#include "projection/GeoPoint.h"
#include "projection/Tpar.h"

namespace zelkora {

// The picture of each map, by map index; nothing for a map whose picture cannot be read.
using MapPictures = std::array<std::optional<PictureBounds>, kMapCount>;

// How many of some points fall on each map's picture.
struct MapTally {
    qint64 points = 0;
    std::array<qint64, kMapCount> onMap{};

    void add(double lat, double lon, const MapPictures& pictures);
};

MapTally tallyMaps(std::span<const GeoPoint> points, const MapPictures& pictures);

// Whether a point lies on either map's picture; empty when no picture is known.
PictureCheck onEitherMap(const MapPictures& pictures);

// The map that most of the points fall on: more than half of them lie on its picture. Nothing
// for no points, or points spread so that no map holds most of them.
std::optional<int> mapOfMost(const MapTally& tally);

}  // namespace zelkora
