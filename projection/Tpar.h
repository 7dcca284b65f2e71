#pragma once

#include <array>

namespace zelkora {

// The nine projection constants of one map.
struct Tpar {
    double x = 0.0;      // first standard parallel, in half-turns (multiplied by pi, not pi/180)
    double y = 0.0;      // second standard parallel, in half-turns
    double tx = 0.0;     // pixels per unit of projected easting
    double ty = 0.0;     // pixels per unit of projected northing
    double ttx = 0.0;    // origin's pixel column from the left edge
    double tty = 0.0;    // origin's pixel row, upward from the bottom edge
    double alpha = 0.0;  // counter-clockwise rotation of the projected plane, degrees
    double left_Bottom_x = 0.0;  // latitude of the origin, degrees
    double left_Bottom_y = 0.0;  // longitude of the origin (central meridian), degrees

    friend bool operator==(const Tpar&, const Tpar&) = default;
};

// Map indices, as the map selector orders them.
inline constexpr int kMapVietnam = 0;
inline constexpr int kMapFarEast = 1;
inline constexpr int kMapCount = 2;

// The stored constants of each map, indexed by map index.
extern const std::array<Tpar, kMapCount> PAR_map;

// The constants in force for the given map index; throws ZelkoraError for an unknown index.
const Tpar& parForMap(int mapIndex);

}  // namespace zelkora
