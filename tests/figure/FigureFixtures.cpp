#include "tests/figure/FigureFixtures.h"

#include "table/HeaderRow.h"

namespace zelkora {

namespace {

GeoPath ring(std::initializer_list<GeoPoint> points) {
    GeoPath path(points);
    path.push_back(path.front());
    return path;
}

}  // namespace

QSize mapPictureSize(int map) {
    return map == kMapVietnam ? QSize(1000, 1680) : QSize(940, 1660);
}

VectorMap smallVectorMap(int map) {
    VectorMap v;
    GeoPath land;
    GeoPath lake;
    GeoPath island;
    if (map == kMapVietnam) {
        land = ring({{8.5, 104.5},
                     {10.5, 106.8},
                     {12.5, 109.3},
                     {16.0, 108.3},
                     {21.5, 108.0},
                     {23.0, 106.0},
                     {22.5, 102.5},
                     {14.0, 102.5},
                     {10.0, 104.0}});
        lake = ring({{12.4, 103.7}, {12.4, 104.5}, {13.1, 104.5}, {13.1, 103.7}});
        island = ring({{12.7, 104.0}, {12.7, 104.2}, {12.85, 104.1}});
        v.rivers.push_back({{{22.0, 103.0}, {20.0, 105.5}, {20.3, 106.6}}, 1});
        v.rivers.push_back({{{15.0, 106.0}, {13.5, 105.9}, {11.0, 105.5}}, 3});
        v.borders.push_back({{{22.4, 102.6}, {17.0, 106.0}, {11.0, 106.0}}, 0});
        v.divisions.push_back({{{16.0, 104.0}, {16.0, 108.2}}, 0});
    } else {
        land = ring({{42.0, 129.0},
                     {42.0, 133.0},
                     {44.0, 136.5},
                     {48.5, 141.0},
                     {50.0, 141.0},
                     {50.0, 129.0}});
        lake = ring({{44.6, 132.0}, {44.6, 132.8}, {45.3, 132.8}, {45.3, 132.0}});
        island = ring({{44.8, 132.2}, {44.8, 132.4}, {45.0, 132.3}});
        v.rivers.push_back({{{48.5, 134.9}, {47.0, 135.0}, {45.0, 133.5}}, 1});
        v.rivers.push_back({{{49.5, 137.0}, {48.0, 138.0}, {46.5, 137.8}}, 3});
        v.borders.push_back({{{42.4, 130.6}, {45.0, 131.5}, {48.0, 134.5}}, 0});
        v.divisions.push_back({{{46.0, 134.0}, {46.0, 138.0}}, 0});
    }
    v.areas.push_back({{land}, 1});
    v.areas.push_back({{lake}, 2});
    v.areas.push_back({{island}, 3});
    v.shores.push_back({land, 1});
    v.shores.push_back({lake, 2});
    return v;
}

std::unique_ptr<FigureMap> smallFigureMap(int map) {
    return std::make_unique<FigureMap>(map, mapPictureSize(map), smallVectorMap(map));
}

std::unique_ptr<PointTable> tableOf(std::initializer_list<Cell> cells) {
    auto table = std::make_unique<PointTable>();
    fillHeaderRow(*table);
    for (const Cell& c : cells) {
        table->setCell(c.column, c.row, QString::fromUtf8(c.text));
    }
    return table;
}

FigureOptions optionsFor(int map, FigureFormat format) {
    FigureOptions o;
    o.map = map;
    o.dpi = 300;
    o.format = format;
    return o;
}

}  // namespace zelkora
