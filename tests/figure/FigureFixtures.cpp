#include "tests/figure/FigureFixtures.h"

#include <gtest/gtest.h>

#include "figure/TakenRoom.h"
#include "table/HeaderRow.h"

namespace zelkora {

namespace {

GeoPath ring(std::initializer_list<GeoPoint> points) {
    GeoPath path(points);
    path.push_back(path.front());
    return path;
}

// A rectangle in degrees as one polygon.
GeoPolygons box(double south, double west, double north, double east) {
    return {{ring({{south, west}, {south, east}, {north, east}, {north, west}})}};
}

DivisionArea division(const char* name, const char* country, GeoPolygons polygons) {
    DivisionArea d;
    d.polygons = std::move(polygons);
    d.name = QString::fromUtf8(name);
    d.country = QString::fromLatin1(country);
    return d;
}

CountryArea country(const char* iso, const char* en, const char* ru, GeoPolygons polygons) {
    CountryArea c;
    c.polygons = std::move(polygons);
    c.iso = QString::fromLatin1(iso);
    c.nameEn = QString::fromUtf8(en);
    c.nameRu = QString::fromUtf8(ru);
    return c;
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

VectorMap namedVectorMap(int map) {
    VectorMap v = smallVectorMap(map);
    if (map == kMapFarEast) {
        v.countries = {country("RUS", "Russia", "Россия", box(42, 132, 50, 141)),
                       country("CHN", "China", "Китай", box(42, 125, 50, 132)),
                       country("PRK", "North Korea", "КНДР", box(41, 129, 42.05, 131)),
                       country("JPN", "Japan", "Япония", box(35, 138, 40, 141))};
        v.divisionAreas = {division("Приморский край", "RUS", box(42, 132, 46, 141)),
                           division("Хабаровский край", "RUS", box(46, 132, 50, 141)),
                           division("Heilongjiang", "CHN", box(44, 125, 50, 132))};
    } else {
        v.countries = {country("VNM", "Vietnam", "Вьетнам", box(8.5, 104, 23.5, 110)),
                       country("LAO", "Laos", "Лаос", box(14, 100, 22, 104))};
        const DivisionArea haNoi = division("Hà Nội", "VNM", box(20.5, 105, 21.5, 106.5));
        const DivisionArea attapeu = division("Attapeu", "LAO", box(14, 100.5, 15.5, 101.5));
        v.divisionAreas = {division("Lâm Đồng", "VNM", box(11, 106.5, 12.5, 109)), haNoi, attapeu};
        v.divisionAreas2008 = {division("Lâm Đồng", "VNM", box(11.7, 106.5, 12.5, 109)),
                               division("Bình Thuận", "VNM", box(11, 106.5, 11.7, 109)), haNoi,
                               attapeu};
        v.divisions2008 = v.divisions;
        v.divisions2008.push_back({{{11.7, 106.5}, {11.7, 109.0}}, 0});
    }
    return v;
}

std::unique_ptr<FigureMap> namedFigureMap(int map) {
    return std::make_unique<FigureMap>(map, mapPictureSize(map), namedVectorMap(map));
}

void expectNothingCovered(const FigureLayout& layout) {
    for (int panel = 0; panel < static_cast<int>(layout.panels.size()); ++panel) {
        const FigurePanel& p = layout.panels[static_cast<std::size_t>(panel)];
        const std::vector<QRectF> markers = layout.markerBoxes(panel);
        std::vector<std::pair<QRectF, QString>> furniture;
        if (layout.legend.corner != FigureCorner::None && layout.legend.panel == panel) {
            furniture.emplace_back(layout.legend.box, QStringLiteral("the legend"));
        }
        if (layout.scaleBar.corner != FigureCorner::None && layout.scaleBar.panel == panel) {
            furniture.emplace_back(layout.scaleBar.box, QStringLiteral("the scale bar"));
        }
        if (layout.northArrow.corner != FigureCorner::None && layout.northArrow.panel == panel) {
            furniture.emplace_back(layout.northArrow.box, QStringLiteral("the north arrow"));
        }
        if (layout.inset.corner != FigureCorner::None && layout.inset.panel == panel) {
            furniture.emplace_back(layout.inset.box, QStringLiteral("the inset"));
        }
        // Every name and number drawn in the panel, with what it says.
        std::vector<std::pair<QRectF, QString>> texts;
        std::vector<std::pair<QLineF, QPointF>> leaders;  // with their marker's centre
        const QTransform toMm = layout.mmFromPlane(p);
        for (const PointNumber& n : layout.numbers) {
            if (n.drawn && n.panel == panel) {
                texts.emplace_back(n.box, QStringLiteral("number %1").arg(n.number));
                if (!n.leader.isNull()) {
                    leaders.emplace_back(n.leader, toMm.map(n.point.plane));
                }
            }
        }
        for (const PlaceName& n : layout.names) {
            if (n.panel == panel) {
                texts.emplace_back(n.box, n.text);
            }
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& [box, what] = texts[i];
            const std::string name = what.toStdString();
            EXPECT_TRUE(p.frame.contains(box)) << name << " crosses the frame";
            for (const QPointF corner :
                 {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
                EXPECT_TRUE(p.outline.containsPoint(corner, Qt::OddEvenFill))
                    << name << " crosses the frame";
            }
            for (const QRectF& m : markers) {
                EXPECT_FALSE(box.intersects(m)) << name << " covers a marker";
            }
            for (const auto& [other, otherWhat] : furniture) {
                EXPECT_FALSE(box.intersects(other))
                    << name << " covers " << otherWhat.toStdString();
            }
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                EXPECT_FALSE(box.intersects(texts[j].first))
                    << name << " covers " << texts[j].second.toStdString();
            }
            for (const auto& [leader, centre] : leaders) {
                EXPECT_FALSE(crosses(leader, box)) << "a leader crosses " << name;
            }
        }
        for (const auto& [leader, centre] : leaders) {
            for (const QRectF& m : markers) {
                if (!m.contains(centre)) {
                    EXPECT_FALSE(crosses(leader, m)) << "a leader crosses another marker";
                }
            }
        }
    }
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
