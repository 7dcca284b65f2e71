#include "tools/DivisionLayers.h"

#include <QPolygonF>
#include <map>

#include "common/ZelkoraError.h"
#include "tools/DivisionNames.h"
#include "tools/Polygons.h"
#include "vectormap/LabelPoint.h"

namespace zelkora {

namespace {

// Vietnam's 63 provinces stood from Hà Nội's enlargement on 1 August 2008 until the mergers of
// 1 July 2025.
const QDate k2008From(2008, 8, 1);
const QDate k2008To(2025, 6, 30);
const QDate k2025From(2025, 7, 1);

// Shared edges are bit-identical in Natural Earth; an edge closer than this to a neighbour's
// without sharing its vertices would be a border left inside a merged province.
constexpr double kSharedEdgeTolerance = 1e-5;  // degrees, about a metre
// Natural Earth's borders at 1:10 000 000 stray by kilometres: Hưng Yên, on the bank of the Red
// River, lies 270 m outside its province's polygon.
constexpr double kSeatTolerance = 0.05;  // degrees

[[noreturn]] void disagree(const QString& why) {
    throw ZelkoraError(QStringLiteral("Natural Earth's divisions and the table of names "
                                      "disagree: ") +
                       why);
}

// The label point of an area: the point with the most room in the map's own projection, found
// to a quarter of a pixel of the normal map.
GeoPoint labelOf(const GeoPolygons& polygons, const MapFrame& frame) {
    std::vector<std::vector<QPolygonF>> projected;
    for (const auto& rings : polygons) {
        std::vector<QPolygonF> pixels;
        for (const GeoPath& ring : rings) {
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(ring.size()));
            for (const GeoPoint& p : ring) {
                polygon << frame.toPixel(p);
            }
            pixels.push_back(std::move(polygon));
        }
        projected.push_back(std::move(pixels));
    }
    const LabelSpot spot = labelSpot(projected, 0.25 * frame.scale());
    const GeoPoint label = frame.toGeo(spot.point);
    if (!containsPoint(polygons, label)) {
        throw ZelkoraError(QStringLiteral("a label point at %1 N %2 E falls outside its area")
                               .arg(label.lat)
                               .arg(label.lon));
    }
    return label;
}

}  // namespace

DivisionLayers::DivisionLayers(const AdminBoundaries& source, const MapFrame& frame,
                               const GeoBox& box, const GeoBox& region) {
    const std::vector<AdminBoundaries::Area>& all = source.divisions();
    const std::vector<std::size_t> inside = AdminBoundaries::within(all, box);

    // Which row of the table names each division: the source's name, and where that name is
    // wrong, the capital of the division it stands for, which must lie in the polygon or within
    // the precision of the source's borders.
    std::map<std::size_t, const NamedDivision*> rowOf;
    std::map<const NamedDivision*, std::size_t> divisionOf;
    const auto claim = [&](std::size_t i, const NamedDivision& row) {
        if (rowOf.contains(i)) {
            disagree(QStringLiteral("«%1» and «%2» name the same polygon")
                         .arg(QString::fromUtf8(rowOf[i]->name), QString::fromUtf8(row.name)));
        }
        rowOf[i] = &row;
        divisionOf[&row] = i;
    };
    bool hasVietnam = false;
    for (const NamedDivision& row : namedDivisions()) {
        const QString country = QString::fromLatin1(row.country);
        for (std::size_t i : inside) {
            if (all[i].country != country) {
                continue;
            }
            hasVietnam = hasVietnam || country == QLatin1String("VNM");
            if (all[i].name !=
                QString::fromUtf8(row.source).normalized(QString::NormalizationForm_C)) {
                continue;
            }
            if (row.seat && distanceTo(all[i].polygons, *row.seat) > kSeatTolerance) {
                disagree(QStringLiteral("the capital of %1 lies %2° from the polygon «%3»")
                             .arg(QString::fromUtf8(row.name))
                             .arg(distanceTo(all[i].polygons, *row.seat))
                             .arg(all[i].name));
            }
            claim(i, row);
        }
    }
    for (std::size_t i : inside) {
        if (namesAllDivisionsOf(all[i].country) && !rowOf.contains(i)) {
            disagree(QStringLiteral("no name for «%1» of %2").arg(all[i].name, all[i].country));
        }
    }
    // Every province of Vietnam once, so that every merger is whole.
    if (hasVietnam) {
        for (const NamedDivision& row : namedDivisions()) {
            if (QLatin1String(row.country) == QLatin1String("VNM") && !divisionOf.contains(&row)) {
                disagree(QStringLiteral("no polygon for %1").arg(QString::fromUtf8(row.name)));
            }
        }
    }

    // The groups of 2025: the provinces merged into one share its number.
    std::vector<int> group(all.size());
    std::map<QString, int> groupOfName;
    std::map<int, std::vector<std::size_t>> members;
    for (std::size_t i = 0; i < all.size(); ++i) {
        group[i] = static_cast<int>(i);
        const auto row = rowOf.find(i);
        if (row != rowOf.end() && row->second->name2025) {
            const QString name = QString::fromUtf8(row->second->name2025);
            group[i] = groupOfName.emplace(name, static_cast<int>(i)).first->second;
        }
        members[group[i]].push_back(i);
    }

    const auto named = [&](std::size_t i) {
        const auto row = rowOf.find(i);
        return row != rowOf.end() ? QString::fromUtf8(row->second->name) : all[i].name;
    };
    const auto area = [&](const GeoPolygons& polygons, const QString& name,
                          const QString& country) -> std::optional<DivisionArea> {
        GeoPolygons clipped = clippedToBox(polygons, region);
        if (clipped.empty()) {
            return std::nullopt;
        }
        DivisionArea a;
        a.label = labelOf(clipped, frame);
        a.polygons = std::move(clipped);
        a.name = name;
        a.country = country;
        return a;
    };

    current_.boundaries = source.internalBorders(box, group);
    if (hasVietnam) {
        before2025_.boundaries = source.internalBorders(box);
    }
    std::map<int, bool> done;
    for (std::size_t i : inside) {
        const AdminBoundaries::Area& d = all[i];
        const GeoPolygons polygons = wrappedForMap(d.polygons, frame);
        const bool vietnam = d.country == QLatin1String("VNM");
        if (auto a = area(polygons, named(i), d.country)) {
            if (vietnam) {
                a->validFrom = k2008From;
                a->validTo = k2008To;
            }
            if (hasVietnam) {
                before2025_.areas.push_back(*a);
            }
            if (!vietnam) {
                current_.areas.push_back(std::move(*a));
            }
        }
        if (!vietnam || done[group[i]]) {
            continue;
        }
        // The new province, once, where its first part comes.
        done[group[i]] = true;
        std::vector<GeoPolygons> parts;
        for (std::size_t m : members[group[i]]) {
            parts.push_back(wrappedForMap(all[m].polygons, frame));
        }
        GeoPolygons merged;
        try {
            merged = parts.size() == 1 ? parts.front() : dissolved(parts, kSharedEdgeTolerance);
        } catch (const ZelkoraError& e) {
            disagree(QString::fromUtf8(rowOf[i]->name2025) + QStringLiteral(": ") + e.message());
        }
        if (auto a = area(merged, QString::fromUtf8(rowOf[i]->name2025), d.country)) {
            a->validFrom = k2025From;
            current_.areas.push_back(std::move(*a));
        }
    }

    for (std::size_t i : AdminBoundaries::within(source.countries(), box)) {
        const AdminBoundaries::Area& c = source.countries()[i];
        GeoPolygons clipped = clippedToBox(wrappedForMap(c.polygons, frame), region);
        if (clipped.empty()) {
            continue;
        }
        const QString russian = russianCountryName(c.country);
        if (russian.isEmpty()) {
            disagree(
                QStringLiteral("no Russian name for the country «%1» (%2)").arg(c.name, c.country));
        }
        CountryArea country;
        country.label = labelOf(clipped, frame);
        country.polygons = std::move(clipped);
        country.iso = c.country;
        country.nameEn = c.name;
        country.nameRu = russian;
        countries_.push_back(std::move(country));
    }
}

}  // namespace zelkora
