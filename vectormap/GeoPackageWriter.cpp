#include "vectormap/GeoPackageWriter.h"

#include <sqlite3.h>

#include <QStringList>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "common/ZelkoraError.h"
#include "vectormap/GeoPackageGeometry.h"
#include "vectormap/SqliteDatabase.h"
#include "vectormap/VectorMapLayers.h"

namespace zelkora {

namespace {

// gpkg_contents.last_change is the same in every file, so that the bytes depend on the map
// alone: the release of the GSHHG 2.3.7 shorelines that the maps are drawn from.
constexpr const char* kLastChange = "2017-06-15T00:00:00.000Z";

// The GeoPackage tables with the definitions the standard gives them, and the three spatial
// reference systems it asks for.
constexpr const char* kSchema = R"(
CREATE TABLE gpkg_spatial_ref_sys (
  srs_name TEXT NOT NULL,
  srs_id INTEGER NOT NULL PRIMARY KEY,
  organization TEXT NOT NULL,
  organization_coordsys_id INTEGER NOT NULL,
  definition TEXT NOT NULL,
  description TEXT
);
CREATE TABLE gpkg_contents (
  table_name TEXT NOT NULL PRIMARY KEY,
  data_type TEXT NOT NULL,
  identifier TEXT UNIQUE,
  description TEXT DEFAULT '',
  last_change DATETIME NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ','now')),
  min_x DOUBLE,
  min_y DOUBLE,
  max_x DOUBLE,
  max_y DOUBLE,
  srs_id INTEGER,
  CONSTRAINT fk_gc_r_srs_id FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys(srs_id)
);
CREATE TABLE gpkg_geometry_columns (
  table_name TEXT NOT NULL,
  column_name TEXT NOT NULL,
  geometry_type_name TEXT NOT NULL,
  srs_id INTEGER NOT NULL,
  z TINYINT NOT NULL,
  m TINYINT NOT NULL,
  CONSTRAINT pk_geom_cols PRIMARY KEY (table_name, column_name),
  CONSTRAINT uk_gc_table_name UNIQUE (table_name),
  CONSTRAINT fk_gc_tn FOREIGN KEY (table_name) REFERENCES gpkg_contents(table_name),
  CONSTRAINT fk_gc_srs FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys (srs_id)
);
INSERT INTO gpkg_spatial_ref_sys VALUES
  ('Undefined cartesian SRS', -1, 'NONE', -1, 'undefined',
   'undefined cartesian coordinate reference system'),
  ('Undefined geographic SRS', 0, 'NONE', 0, 'undefined',
   'undefined geographic coordinate reference system'),
  ('WGS 84 geodetic', 4326, 'EPSG', 4326,
   'GEOGCS["WGS 84",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563,AUTHORITY["EPSG","7030"]],AUTHORITY["EPSG","6326"]],PRIMEM["Greenwich",0,AUTHORITY["EPSG","8901"]],UNIT["degree",0.0174532925199433,AUTHORITY["EPSG","9122"]],AXIS["Latitude",NORTH],AXIS["Longitude",EAST],AUTHORITY["EPSG","4326"]]',
   'longitude/latitude coordinates in decimal degrees on the WGS 84 spheroid');
)";

// The x/y extent of a layer's paths; none for an empty layer.
struct Extent {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(const GeoPath& path) {
        for (const GeoPoint& p : path) {
            minX = std::min(minX, p.lon);
            maxX = std::max(maxX, p.lon);
            minY = std::min(minY, p.lat);
            maxY = std::max(maxY, p.lat);
        }
    }
    bool empty() const { return minX > maxX; }
};

[[noreturn]] void refuse(const VectorMapLayer& layer, std::size_t index, const QString& why) {
    throw ZelkoraError(QStringLiteral("Векторные данные карты не записаны: объект %1 слоя «%2»: %3")
                           .arg(index + 1)
                           .arg(QString::fromLatin1(layer.table), why));
}

void checkLevel(const VectorMapLayer& layer, std::size_t index, int level) {
    if (level < layer.minLevel || level > layer.maxLevel) {
        refuse(layer, index,
               QStringLiteral("уровень %1 вне пределов %2-%3")
                   .arg(level)
                   .arg(layer.minLevel)
                   .arg(layer.maxLevel));
    }
}

QString quotedName(const char* name) {
    return QLatin1Char('"') + QString::fromLatin1(name) + QLatin1Char('"');
}

// One feature table: created, filled, and entered in gpkg_contents and gpkg_geometry_columns.
// Its columns are the feature id, the geometry "geom" and the attributes given with their types.
class LayerWriter {
  public:
    LayerWriter(SqliteDatabase& db, const char* table, const char* identifier,
                const char* description, const char* geometryType, const QStringList& columns)
        : db_(db),
          table_(table),
          identifier_(identifier),
          description_(description),
          geometryType_(geometryType) {
        QString create = QStringLiteral(
                             "CREATE TABLE %1 (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
                             "geom %2")
                             .arg(quotedName(table), QString::fromLatin1(geometryType));
        QStringList names{QStringLiteral("geom")};
        QStringList places{QStringLiteral("?1")};
        for (const QString& column : columns) {
            create += QStringLiteral(", ") + column;
            names << column.section(QLatin1Char(' '), 0, 0);
            places << QStringLiteral("?%1").arg(places.size() + 1);
        }
        db.exec((create + QLatin1Char(')')).toUtf8().constData());
        insert_ = std::make_unique<SqliteStatement>(
            db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quotedName(table), names.join(QLatin1Char(',')),
                         places.join(QLatin1Char(','))));
    }

    LayerWriter(SqliteDatabase& db, const VectorMapLayer& layer)
        : LayerWriter(db, layer.table, layer.identifier, layer.description, layer.geometryType,
                      {QStringLiteral("level MEDIUMINT NOT NULL")}) {}

    // The statement of the next row with its geometry bound; the attributes are bound from 2 on,
    // and add() writes the row.
    SqliteStatement& next(const QByteArray& blob) {
        insert_->bindBlob(1, blob);
        return *insert_;
    }
    void add() {
        insert_->step();
        insert_->reset();
    }

    void add(const QByteArray& blob, int level) {
        next(blob).bind(2, static_cast<qint64>(level));
        add();
    }

    Extent& extent() { return extent_; }

    void finish() {
        SqliteStatement contents(
            db_, QStringLiteral("INSERT INTO gpkg_contents VALUES (?1, 'features', ?2, ?3, ?4, "
                                "?5, ?6, ?7, ?8, ?9)"));
        contents.bind(1, QString::fromLatin1(table_));
        contents.bind(2, QString::fromUtf8(identifier_));
        contents.bind(3, QString::fromUtf8(description_));
        contents.bind(4, QString::fromLatin1(kLastChange));
        if (extent_.empty()) {
            for (int i = 5; i <= 8; ++i) {
                contents.bindNull(i);
            }
        } else {
            contents.bind(5, extent_.minX);
            contents.bind(6, extent_.minY);
            contents.bind(7, extent_.maxX);
            contents.bind(8, extent_.maxY);
        }
        contents.bind(9, static_cast<qint64>(kVectorSrsId));
        contents.step();

        SqliteStatement column(
            db_, QStringLiteral("INSERT INTO gpkg_geometry_columns VALUES (?1, 'geom', ?2, ?3, "
                                "0, 0)"));
        column.bind(1, QString::fromLatin1(table_));
        column.bind(2, QString::fromLatin1(geometryType_));
        column.bind(3, static_cast<qint64>(kVectorSrsId));
        column.step();
    }

  private:
    SqliteDatabase& db_;
    const char* table_;
    const char* identifier_;
    const char* description_;
    const char* geometryType_;
    std::unique_ptr<SqliteStatement> insert_;
    Extent extent_;
};

void writeAreas(SqliteDatabase& db, const std::vector<VectorArea>& areas) {
    const VectorMapLayer& layer = kVectorMapLayers[0];
    LayerWriter out(db, layer);
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const VectorArea& area = areas[i];
        checkLevel(layer, i, area.level);
        if (area.rings.empty()) {
            refuse(layer, i, QStringLiteral("у многоугольника нет контура"));
        }
        for (const GeoPath& ring : area.rings) {
            if (const QString fault = vectorPathFault(ring, true); !fault.isEmpty()) {
                refuse(layer, i, fault);
            }
        }
        // The outer ring holds the holes: it alone sets the extent.
        out.extent().add(area.rings.front());
        out.add(GeoPackageGeometry::encodePolygon(area.rings, kVectorSrsId), area.level);
    }
    out.finish();
}

void writeLines(SqliteDatabase& db, const VectorMapLayer& layer,
                const std::vector<VectorLine>& lines) {
    LayerWriter out(db, layer);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const VectorLine& line = lines[i];
        checkLevel(layer, i, line.level);
        if (const QString fault = vectorPathFault(line.points, false); !fault.isEmpty()) {
            refuse(layer, i, fault);
        }
        out.extent().add(line.points);
        out.add(GeoPackageGeometry::encodeLine(line.points, kVectorSrsId), line.level);
    }
    out.finish();
}

[[noreturn]] void refuse(const NamedAreaLayer& layer, std::size_t index, const QString& why) {
    throw ZelkoraError(QStringLiteral("Векторные данные карты не записаны: объект %1 слоя «%2»: %3")
                           .arg(index + 1)
                           .arg(QString::fromLatin1(layer.table), why));
}

template <std::size_t N>
QStringList columnList(const std::array<const char*, N>& columns) {
    QStringList out;
    for (const char* c : columns) {
        out << QString::fromLatin1(c);
    }
    return out;
}

// The checks of a named area's geometry, names and label point; its outer rings set the extent.
void checkNamedArea(const NamedAreaLayer& layer, std::size_t index, const GeoPolygons& polygons,
                    std::initializer_list<const QString*> names, GeoPoint label, Extent& extent) {
    if (polygons.empty()) {
        refuse(layer, index, QStringLiteral("у области нет многоугольников"));
    }
    for (const auto& rings : polygons) {
        if (rings.empty()) {
            refuse(layer, index, QStringLiteral("у многоугольника нет контура"));
        }
        for (const GeoPath& ring : rings) {
            if (const QString fault = vectorPathFault(ring, true); !fault.isEmpty()) {
                refuse(layer, index, fault);
            }
        }
        extent.add(rings.front());
    }
    for (const QString* name : names) {
        if (name->trimmed().isEmpty()) {
            refuse(layer, index, QStringLiteral("нет названия"));
        }
    }
    if (const QString fault = vectorPointFault(label); !fault.isEmpty()) {
        refuse(layer, index, QStringLiteral("точка подписи: ") + fault);
    }
}

void bindDate(SqliteStatement& row, int index, const QDate& date) {
    if (date.isNull()) {
        row.bindNull(index);
    } else {
        row.bind(index, date.toString(Qt::ISODate));
    }
}

void writeDivisionAreas(SqliteDatabase& db, const NamedAreaLayer& layer,
                        const std::vector<DivisionArea>& areas) {
    LayerWriter out(db, layer.table, layer.identifier, layer.description, "MULTIPOLYGON",
                    columnList(kDivisionAreaColumns));
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const DivisionArea& a = areas[i];
        checkNamedArea(layer, i, a.polygons, {&a.name, &a.country}, a.label, out.extent());
        if (!a.validFrom.isNull() && !a.validTo.isNull() && a.validTo < a.validFrom) {
            refuse(layer, i, QStringLiteral("конец срока раньше его начала"));
        }
        SqliteStatement& row =
            out.next(GeoPackageGeometry::encodeMultiPolygon(a.polygons, kVectorSrsId));
        row.bind(2, a.name);
        row.bind(3, a.country);
        bindDate(row, 4, a.validFrom);
        bindDate(row, 5, a.validTo);
        row.bind(6, a.label.lat);
        row.bind(7, a.label.lon);
        out.add();
    }
    out.finish();
}

void writeCountries(SqliteDatabase& db, const NamedAreaLayer& layer,
                    const std::vector<CountryArea>& countries) {
    LayerWriter out(db, layer.table, layer.identifier, layer.description, "MULTIPOLYGON",
                    columnList(kCountryAreaColumns));
    for (std::size_t i = 0; i < countries.size(); ++i) {
        const CountryArea& c = countries[i];
        checkNamedArea(layer, i, c.polygons, {&c.iso, &c.nameEn, &c.nameRu}, c.label, out.extent());
        SqliteStatement& row =
            out.next(GeoPackageGeometry::encodeMultiPolygon(c.polygons, kVectorSrsId));
        row.bind(2, c.iso);
        row.bind(3, c.nameEn);
        row.bind(4, c.nameRu);
        row.bind(5, c.label.lat);
        row.bind(6, c.label.lon);
        out.add();
    }
    out.finish();
}

}  // namespace

QByteArray GeoPackageWriter::bytes(const VectorMap& map) {
    try {
        SqliteDatabase db;
        // A fixed page size, whatever SQLite's default; set before the first table.
        db.exec(QStringLiteral("PRAGMA page_size = %1; PRAGMA application_id = %2; "
                               "PRAGMA user_version = %3;")
                    .arg(kGeoPackagePageSize)
                    .arg(kGeoPackageApplicationId)
                    .arg(kGeoPackageUserVersion)
                    .toUtf8()
                    .constData());
        db.exec(kSchema);
        db.exec("BEGIN");
        writeAreas(db, map.areas);
        const auto lines = lineLayers(map);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            writeLines(db, kVectorMapLayers[i + 1], *lines[i]);
        }
        // The tables a map may lack, only where it has their data, so that a map without them
        // gives the same bytes as before they were known.
        if (!map.divisions2008.empty()) {
            writeLines(db, kDivisions2008Layer, map.divisions2008);
        }
        const auto named = divisionAreaLayers(map);
        for (std::size_t i = 0; i < named.size(); ++i) {
            if (!named[i]->empty()) {
                writeDivisionAreas(db, kNamedAreaLayers[i], *named[i]);
            }
        }
        if (!map.countries.empty()) {
            writeCountries(db, kNamedAreaLayers[2], map.countries);
        }
        db.exec("COMMIT");
        db.exec("VACUUM");

        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(db.handle(), "main", &size, 0);
        if (data == nullptr) {
            throw std::bad_alloc();
        }
        std::unique_ptr<unsigned char, decltype(&sqlite3_free)> owned(data, &sqlite3_free);
        return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    } catch (const SqliteFailure& failure) {
        if (failure.code() == SQLITE_NOMEM) {
            throw std::bad_alloc();
        }
        throw ZelkoraError(QStringLiteral("Векторные данные карты не собраны в GeoPackage: %1")
                               .arg(failure.what()));
    }
}

}  // namespace zelkora
