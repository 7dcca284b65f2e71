#pragma once

#include <string>

#include "vectormap/VectorMap.h"

namespace zelkora {

// A small map with every layer: land across 180° (longitudes past 180) with a hole, a lake, an
// island in it, lines of several levels, and coordinates that need all their digits. Its file is
// fixtures/sample.gpkg.
VectorMap sampleVectorMap();

// The sample with the tables a map may lack: named divisions of now and of 2008, the boundaries
// of 2008 and countries, with names in Vietnamese and Russian.
VectorMap sampleNamedVectorMap();

// The first difference between two maps, or "" when they are the same to the last bit.
std::string vectorMapDifference(const VectorMap& a, const VectorMap& b);

}  // namespace zelkora
