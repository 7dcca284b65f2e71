#pragma once

#include <QByteArray>
#include <vector>

#include "records/TablePoints.h"

namespace zelkora {

// The files the table's points are written out to, one function per format, each file whole in
// memory. Each carries every point's group (its column's header) and marker type (its column), so
// reading it back gives the same table; GeoJSON, KML and GPX hold a longitude past the antimeridian
// as its western equal (fileLongitude), which reads back as the same place.

// CSV in UTF-8 with a byte-order mark (so spreadsheets take it for UTF-8), CR LF line ends and
// the columns group, marker, latitude, longitude.
QByteArray csvPointFile(const std::vector<TablePoint>& points);

// A GeoJSON FeatureCollection of Points with the properties group and marker.
QByteArray geoJsonPointFile(const std::vector<TablePoint>& points);

// KML with one Folder per group (per column), its Placemarks named by the group and carrying
// the marker type in ExtendedData.
QByteArray kmlPointFile(const std::vector<TablePoint>& points);

// GPX 1.1 waypoints named by their group, with group and marker in the waypoint's extensions.
QByteArray gpxPointFile(const std::vector<TablePoint>& points);

}  // namespace zelkora
