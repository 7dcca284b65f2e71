#pragma once

#include <QString>
#include <optional>
#include <span>

#include "projection/GeoPoint.h"

namespace zelkora {

// A first-level division whose name the maps give themselves rather than take from Natural
// Earth: Vietnam's provinces with their diacritics and the province each became part of on
// 1 July 2025, and Russia's regions in Russian. Natural Earth names some polygons wrongly (a
// region's name for a province's): those rows carry the capital of the division the polygon
// stands for, and the generator checks that the polygon lies there.
struct NamedDivision {
    const char* country;   // Natural Earth's adm0_a3
    const char* source;    // Natural Earth's name of its polygon
    const char* name;      // its own name
    const char* name2025;  // the province it belongs to since 1 July 2025 (Vietnam), or null
    std::optional<GeoPoint> seat;
};

// Every such division of both maps.
std::span<const NamedDivision> namedDivisions();

// The countries whose divisions the table above names, all of them.
bool namesAllDivisionsOf(const QString& country);

// A country's name in Russian by its ISO 3166-1 alpha-3 code, for the countries on the maps;
// empty for any other.
QString russianCountryName(const QString& iso);

}  // namespace zelkora
