#include "plot/MapTally.h"

#include <algorithm>

namespace zelkora {

void MapTally::add(double lat, double lon, const MapPictures& pictures) {
    ++points;
    for (int map = 0; map < kMapCount; ++map) {
        const std::optional<PictureBounds>& picture = pictures[static_cast<std::size_t>(map)];
        if (picture && picture->contains(lat, lon)) {
            ++onMap[static_cast<std::size_t>(map)];
        }
    }
}

MapTally tallyMaps(std::span<const GeoPoint> points, const MapPictures& pictures) {
    MapTally tally;
    for (const GeoPoint& p : points) {
        tally.add(p.lat, p.lon, pictures);
    }
    return tally;
}

PictureCheck onEitherMap(const MapPictures& pictures) {
    if (std::none_of(pictures.begin(), pictures.end(),
                     [](const std::optional<PictureBounds>& p) { return p.has_value(); })) {
        return {};
    }
    return [pictures](double lat, double lon) {
        return std::any_of(
            pictures.begin(), pictures.end(),
            [&](const std::optional<PictureBounds>& p) { return p && p->contains(lat, lon); });
    };
}

std::optional<int> mapOfMost(const MapTally& tally) {
    for (int map = 0; map < kMapCount; ++map) {
        if (tally.onMap[static_cast<std::size_t>(map)] * 2 > tally.points) {
            return map;
        }
    }
    return std::nullopt;
}

}  // namespace zelkora
