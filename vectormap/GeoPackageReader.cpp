#include "vectormap/GeoPackageReader.h"

#include <sqlite3.h>

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "common/FileReader.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "vectormap/GeoPackageGeometry.h"
#include "vectormap/SqliteDatabase.h"
#include "vectormap/VectorMapLayers.h"

namespace zelkora {

namespace {

constexpr std::size_t kSqliteHeaderSize = 100;
constexpr char kSqliteMagic[] = "SQLite format 3";  // with its NUL: 16 bytes
constexpr std::size_t kApplicationIdOffset = 68;
// The file format's write and read versions: 2 marks a database in WAL mode.
constexpr std::size_t kWriteVersionOffset = 18;
constexpr std::size_t kReadVersionOffset = 19;

// SQLite calls the progress handler every kProgressStep virtual-machine steps; the reading stops
// after a budget of calls that grows with the file. Reading a real map takes well under one step
// per byte of the file.
constexpr int kProgressStep = 1000;
constexpr std::uint64_t kBaseBudget = 1000;
constexpr std::uint64_t kBytesPerCall = 8;

// Memory of SQLite's own allocator, which sqlite3_deserialize takes over.
using SqliteBuffer = std::unique_ptr<unsigned char, decltype(&sqlite3_free)>;

QString quoted(const QString& path) {
    return QStringLiteral("«%1»").arg(visibleText(path));
}

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString quotedIdentifier(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

class Reader {
  public:
    explicit Reader(const QString& path) : path_(path) {}

    VectorMap read() {
        std::size_t size = 0;
        SqliteBuffer bytes = readFile(size);
        try {
            SqliteDatabase db;
            guard(db, size);
            // The buffer now belongs to SQLite, which frees it when the connection closes or
            // when this call fails.
            const int rc = sqlite3_deserialize(
                db.handle(), "main", bytes.release(), static_cast<sqlite3_int64>(size),
                static_cast<sqlite3_int64>(size),
                SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);
            if (rc != SQLITE_OK) {
                throw SqliteFailure(rc, sqlite3_errstr(rc));
            }
            return layers(db);
        } catch (const SqliteFailure& failure) {
            translate(failure);
        }
    }

  private:
    QString path_;
    std::uint64_t budget_ = 0;

    [[noreturn]] void notGeoPackage() const {
        throw ZelkoraError(QStringLiteral("Файл %1 не является файлом GeoPackage с векторными "
                                          "данными карты")
                               .arg(quoted(path_)));
    }
    [[noreturn]] void notMapData(const QString& why) const {
        throw ZelkoraError(QStringLiteral("В файле GeoPackage %1 нет векторных данных карты: %2")
                               .arg(quoted(path_), why));
    }
    [[noreturn]] void damaged(const QString& why) const {
        throw ZelkoraError(QStringLiteral("Файл %1 повреждён: %2").arg(quoted(path_), why));
    }
    // SQLite reports some damage as running out of memory (a schema whose parse fails that
    // way), so that too counts as damage: the file is what is wrong far more often than the
    // memory.
    [[noreturn]] void translate(const SqliteFailure& failure) const {
        if (failure.code() == SQLITE_INTERRUPT) {
            damaged(QStringLiteral("его чтение заняло бы слишком много времени"));
        }
        damaged(QStringLiteral("база данных в нём не читается (%1)")
                    .arg(QString::fromUtf8(failure.what())));
    }

    // The whole file in a buffer of SQLite's, after a look at its header.
    SqliteBuffer readFile(std::size_t& size) const {
        FileReader file(path_);
        if (const int error = file.open()) {
            throw ZelkoraError(
                QStringLiteral("Не удаётся открыть файл %1: %2").arg(quoted(path_), reason(error)));
        }
        if (file.size() > GeoPackageReader::kMaxFileBytes) {
            throw ZelkoraError(QStringLiteral("Файл %1 слишком велик для векторных данных карты: "
                                              "%2 МБ, а допустимо не более %3 МБ")
                                   .arg(quoted(path_))
                                   .arg(file.size() >> 20)
                                   .arg(GeoPackageReader::kMaxFileBytes >> 20));
        }
        size = static_cast<std::size_t>(file.size());
        if (size < kSqliteHeaderSize) {
            notGeoPackage();
        }
        SqliteBuffer buffer(static_cast<unsigned char*>(sqlite3_malloc64(size)), &sqlite3_free);
        if (!buffer) {
            throw std::bad_alloc();
        }
        std::size_t got = 0;
        if (const int error = file.read(reinterpret_cast<char*>(buffer.get()), size, got)) {
            if (error == FileReader::kChanged) {
                throw ZelkoraError(FileReader::changedMessage(path_));
            }
            throw ZelkoraError(QStringLiteral("Не удаётся прочитать файл %1: %2")
                                   .arg(quoted(path_), reason(error)));
        }
        if (got != size) {
            throw ZelkoraError(FileReader::changedMessage(path_));
        }
        unsigned char* data = buffer.get();
        if (std::memcmp(data, kSqliteMagic, sizeof kSqliteMagic) != 0) {
            notGeoPackage();
        }
        const std::uint32_t applicationId = (std::uint32_t{data[kApplicationIdOffset]} << 24) |
                                            (std::uint32_t{data[kApplicationIdOffset + 1]} << 16) |
                                            (std::uint32_t{data[kApplicationIdOffset + 2]} << 8) |
                                            data[kApplicationIdOffset + 3];
        if (applicationId != kGeoPackageApplicationId) {
            throw ZelkoraError(QStringLiteral("Файл %1 — база данных SQLite, но не GeoPackage")
                                   .arg(quoted(path_)));
        }
        // A database in WAL mode cannot be opened from memory; its pages are the same, so it is
        // read as an ordinary one. Any log beside the file is not part of what is read.
        if (data[kWriteVersionOffset] == 2 && data[kReadVersionOffset] == 2) {
            data[kWriteVersionOffset] = 1;
            data[kReadVersionOffset] = 1;
        }
        return buffer;
    }

    static int progress(void* budget) {
        auto* left = static_cast<std::uint64_t*>(budget);
        if (*left == 0) {
            return 1;
        }
        --*left;
        return 0;
    }

    // Limits that make a hostile file cheap, set before anything is read.
    void guard(SqliteDatabase& db, std::size_t size) {
        sqlite3* h = db.handle();
        sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(h, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
        // No value read can be longer than the file that holds it.
        sqlite3_limit(h, SQLITE_LIMIT_LENGTH, static_cast<int>(std::max<std::size_t>(size, 4096)));
        budget_ = kBaseBudget + size / kBytesPerCall;
        sqlite3_progress_handler(h, kProgressStep, &Reader::progress, &budget_);
        db.exec("PRAGMA cell_size_check = ON");
    }

    bool hasTable(const SqliteDatabase& db, const QString& name, QString* sql = nullptr) const {
        SqliteStatement find(
            db,
            QStringLiteral("SELECT type, sql FROM sqlite_master WHERE name = ?1 COLLATE NOCASE"));
        find.bind(1, name);
        if (!find.step()) {
            return false;
        }
        if (find.text(0) != QStringLiteral("table")) {
            notMapData(QStringLiteral("«%1» не таблица").arg(visibleText(name)));
        }
        if (sql) {
            *sql = find.text(1);
        }
        return true;
    }

    // The geometry column of a layer's table, after the checks of its entries in the GeoPackage
    // tables and of its columns.
    QString layerColumn(const SqliteDatabase& db, const VectorMapLayer& layer) const {
        return layerColumn(db, QString::fromLatin1(layer.table),
                           QLatin1String(layer.geometryType) == QLatin1String("POLYGON"),
                           {QStringLiteral("level")});
    }

    // The same for any feature table of lines or of polygons (areas), which must have the
    // attribute columns given, stored rather than computed.
    QString layerColumn(const SqliteDatabase& db, const QString& table, bool areas,
                        const QStringList& attributes) const {
        QString sql;
        if (!hasTable(db, table, &sql)) {
            notMapData(QStringLiteral("нет слоя «%1»").arg(table));
        }
        if (sql.trimmed().startsWith(QStringLiteral("CREATE VIRTUAL"), Qt::CaseInsensitive)) {
            notMapData(QStringLiteral("слой «%1» — виртуальная таблица").arg(table));
        }

        SqliteStatement contents(
            db,
            QStringLiteral("SELECT data_type, srs_id FROM gpkg_contents WHERE table_name = ?1"));
        contents.bind(1, table);
        if (!contents.step()) {
            notMapData(QStringLiteral("слоя «%1» нет в таблице gpkg_contents").arg(table));
        }
        if (contents.text(0) != QStringLiteral("features")) {
            notMapData(QStringLiteral("слой «%1» не векторный (%2)")
                           .arg(table, visibleText(contents.text(0))));
        }

        SqliteStatement column(db,
                               QStringLiteral("SELECT column_name, geometry_type_name, srs_id "
                                              "FROM gpkg_geometry_columns WHERE table_name = ?1"));
        column.bind(1, table);
        if (!column.step()) {
            notMapData(QStringLiteral("у слоя «%1» нет столбца геометрии").arg(table));
        }
        const QString geometry = column.text(0);
        const QString type = column.text(1).toUpper();
        const QStringList accepted =
            areas ? QStringList{QStringLiteral("POLYGON"), QStringLiteral("MULTIPOLYGON")}
                  : QStringList{QStringLiteral("LINESTRING"), QStringLiteral("MULTILINESTRING")};
        if (!accepted.contains(type)) {
            notMapData(
                QStringLiteral("в слое «%1» геометрия %2, а ожидались %3")
                    .arg(table, visibleText(column.text(1)),
                         areas ? QStringLiteral("многоугольники") : QStringLiteral("линии")));
        }
        if (column.type(2) != SQLITE_INTEGER || contents.type(1) != SQLITE_INTEGER ||
            column.integer(2) != contents.integer(1)) {
            damaged(QStringLiteral("система координат слоя «%1» указана по-разному").arg(table));
        }

        SqliteStatement srs(db, QStringLiteral("SELECT organization, organization_coordsys_id "
                                               "FROM gpkg_spatial_ref_sys WHERE srs_id = ?1"));
        srs.bind(1, column.integer(2));
        if (!srs.step() || srs.text(0).compare(QStringLiteral("EPSG"), Qt::CaseInsensitive) != 0 ||
            srs.type(1) != SQLITE_INTEGER || srs.integer(1) != kVectorSrsId) {
            notMapData(QStringLiteral("слой «%1» не в координатах WGS 84 (EPSG:4326)").arg(table));
        }

        // The columns read must be stored values: a generated column or a default would run an
        // expression of the file's own.
        SqliteStatement columns(
            db, QStringLiteral("SELECT name, hidden, dflt_value FROM pragma_table_xinfo(?1)"));
        columns.bind(1, table);
        bool hasGeometry = false;
        QStringList missing = attributes;
        while (columns.step()) {
            const QString name = columns.text(0);
            const bool isGeometry = name.compare(geometry, Qt::CaseInsensitive) == 0;
            const qsizetype attribute = missing.indexOf(name.toLower());
            if (!isGeometry && attribute < 0) {
                continue;
            }
            if (columns.integer(1) != 0 || columns.type(2) != SQLITE_NULL) {
                notMapData(QStringLiteral("столбец «%1» слоя «%2» вычисляется, а не хранится")
                               .arg(visibleText(name), table));
            }
            hasGeometry = hasGeometry || isGeometry;
            if (attribute >= 0) {
                missing.removeAt(attribute);
            }
        }
        if (!hasGeometry) {
            notMapData(QStringLiteral("в таблице слоя «%1» нет столбца геометрии «%2»")
                           .arg(table, visibleText(geometry)));
        }
        if (!missing.isEmpty()) {
            notMapData(QStringLiteral("у слоя «%1» нет столбца %2").arg(table, missing.front()));
        }
        return geometry;
    }

    // Each row of a layer: its feature number, level and decoded geometry, checked.
    template <typename Take>
    void rows(const SqliteDatabase& db, const VectorMapLayer& layer, const Take& take) const {
        const QString table = QString::fromLatin1(layer.table);
        const QString geometry = layerColumn(db, layer);
        SqliteStatement select(db, QStringLiteral("SELECT rowid, %1, level FROM %2 ORDER BY rowid")
                                       .arg(quotedIdentifier(geometry), quotedIdentifier(table)));
        const bool areas = QLatin1String(layer.geometryType) == QLatin1String("POLYGON");
        while (select.step()) {
            const qint64 fid = select.integer(0);
            const auto fault = [&](const QString& why) {
                damaged(QStringLiteral("объект %1 слоя «%2»: %3").arg(fid).arg(table, why));
            };
            if (select.type(2) != SQLITE_INTEGER) {
                fault(QStringLiteral("уровень level не целое число"));
            }
            const qint64 level = select.integer(2);
            if (level < layer.minLevel || level > layer.maxLevel) {
                fault(QStringLiteral("уровень %1 вне пределов %2-%3")
                          .arg(level)
                          .arg(layer.minLevel)
                          .arg(layer.maxLevel));
            }
            take(geometryOf(select, 1, areas, fault), static_cast<int>(level));
        }
    }

    // The geometry in a column of a row, decoded and checked; fault reports what is wrong.
    template <typename Fault>
    static GeoPolygons geometryOf(const SqliteStatement& select, int column, bool areas,
                                  const Fault& fault) {
        if (select.type(column) == SQLITE_NULL) {
            fault(QStringLiteral("нет геометрии"));
        }
        if (select.type(column) != SQLITE_BLOB) {
            fault(QStringLiteral("геометрия записана не как BLOB"));
        }
        std::size_t size = 0;
        const unsigned char* blob = select.blob(column, size);
        GeoPackageGeometry g;
        try {
            g = GeoPackageGeometry::decode(blob, size);
        } catch (const ZelkoraError& e) {
            fault(e.message());
        }
        if (g.empty || g.parts.empty()) {
            fault(QStringLiteral("пустая геометрия"));
        }
        if (g.srsId != kVectorSrsId) {
            fault(QStringLiteral("геометрия в системе координат %1, а не EPSG:4326").arg(g.srsId));
        }
        if ((g.kind == GeoPackageGeometry::Kind::Polygons) != areas) {
            fault(areas ? QStringLiteral("линия вместо многоугольника")
                        : QStringLiteral("многоугольник вместо линии"));
        }
        for (const auto& part : g.parts) {
            if (part.empty()) {
                fault(QStringLiteral("у многоугольника нет контура"));
            }
            for (const GeoPath& path : part) {
                if (const QString why = vectorPathFault(path, areas); !why.isEmpty()) {
                    fault(why);
                }
            }
        }
        return std::move(g.parts);
    }

    // Each row of a table of named areas: its polygons and, from the statement's columns 2 on,
    // its attributes, with its label point in the last two columns. A file without the table
    // reads as one whose table is empty.
    template <typename Take>
    void namedRows(const SqliteDatabase& db, const NamedAreaLayer& layer,
                   const QStringList& attributes, const Take& take) const {
        const QString table = QString::fromLatin1(layer.table);
        if (!hasTable(db, table)) {
            return;
        }
        const QString geometry = layerColumn(db, table, true, attributes);
        QStringList columns{QStringLiteral("rowid"), quotedIdentifier(geometry)};
        for (const QString& a : attributes) {
            columns << quotedIdentifier(a);
        }
        SqliteStatement select(db,
                               QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                   .arg(columns.join(QLatin1Char(',')), quotedIdentifier(table)));
        const int labelLat = static_cast<int>(columns.size()) - 2;
        while (select.step()) {
            const qint64 fid = select.integer(0);
            const auto fault = [&](const QString& why) {
                damaged(QStringLiteral("объект %1 слоя «%2»: %3").arg(fid).arg(table, why));
            };
            GeoPolygons polygons = geometryOf(select, 1, true, fault);
            for (int c = 2; c < labelLat; ++c) {
                const bool date = attributes[c - 2].startsWith(QStringLiteral("valid_"));
                if (date ? select.type(c) != SQLITE_TEXT && select.type(c) != SQLITE_NULL
                         : select.type(c) != SQLITE_TEXT || select.text(c).trimmed().isEmpty()) {
                    fault(QStringLiteral("нет значения «%1»").arg(attributes[c - 2]));
                }
                if (date && select.type(c) == SQLITE_TEXT &&
                    !QDate::fromString(select.text(c), Qt::ISODate).isValid()) {
                    fault(QStringLiteral("«%1» не дата: %2")
                              .arg(attributes[c - 2], visibleText(select.text(c))));
                }
            }
            // A term that ends before it starts could not be written again.
            const qsizetype from = attributes.indexOf(QStringLiteral("valid_from"));
            const qsizetype to = attributes.indexOf(QStringLiteral("valid_to"));
            if (from >= 0 && to >= 0 &&
                QDate::fromString(select.text(static_cast<int>(to) + 2), Qt::ISODate) <
                    QDate::fromString(select.text(static_cast<int>(from) + 2), Qt::ISODate) &&
                select.type(static_cast<int>(to) + 2) == SQLITE_TEXT &&
                select.type(static_cast<int>(from) + 2) == SQLITE_TEXT) {
                fault(QStringLiteral("конец срока раньше его начала"));
            }
            for (int c : {labelLat, labelLat + 1}) {
                if (select.type(c) != SQLITE_FLOAT && select.type(c) != SQLITE_INTEGER) {
                    fault(QStringLiteral("точка подписи не число"));
                }
            }
            const GeoPoint label{.lat = select.real(labelLat), .lon = select.real(labelLat + 1)};
            if (const QString why = vectorPointFault(label); !why.isEmpty()) {
                fault(QStringLiteral("точка подписи: ") + why);
            }
            take(select, std::move(polygons), label);
        }
    }

    template <std::size_t N>
    static QStringList columnNames(const std::array<const char*, N>& columns) {
        QStringList names;
        for (const char* c : columns) {
            names << QString::fromLatin1(c).section(QLatin1Char(' '), 0, 0);
        }
        return names;
    }

    void readNamedAreas(const SqliteDatabase& db, VectorMap& map) const {
        const QStringList divisionColumns = columnNames(kDivisionAreaColumns);
        const auto divisions = divisionAreaLayers(map);
        for (std::size_t i = 0; i < divisions.size(); ++i) {
            namedRows(db, kNamedAreaLayers[i], divisionColumns,
                      [&](const SqliteStatement& row, GeoPolygons&& polygons, GeoPoint label) {
                          DivisionArea a;
                          a.polygons = std::move(polygons);
                          a.name = row.text(2);
                          a.country = row.text(3);
                          a.validFrom = QDate::fromString(row.text(4), Qt::ISODate);
                          a.validTo = QDate::fromString(row.text(5), Qt::ISODate);
                          a.label = label;
                          divisions[i]->push_back(std::move(a));
                      });
        }
        namedRows(db, kNamedAreaLayers[2], columnNames(kCountryAreaColumns),
                  [&](const SqliteStatement& row, GeoPolygons&& polygons, GeoPoint label) {
                      map.countries.push_back(
                          {std::move(polygons), row.text(2), row.text(3), row.text(4), label});
                  });
    }

    VectorMap layers(const SqliteDatabase& db) const {
        for (const char* table :
             {"gpkg_spatial_ref_sys", "gpkg_contents", "gpkg_geometry_columns"}) {
            if (!hasTable(db, QString::fromLatin1(table))) {
                notMapData(QStringLiteral("нет таблицы %1").arg(QString::fromLatin1(table)));
            }
        }
        VectorMap map;
        rows(db, kVectorMapLayers[0], [&](std::vector<std::vector<GeoPath>>&& parts, int level) {
            for (auto& rings : parts) {
                map.areas.push_back({std::move(rings), level});
            }
        });
        const auto lines = lineLayers(map);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::vector<VectorLine>& out = *lines[i];
            rows(db, kVectorMapLayers[i + 1],
                 [&](std::vector<std::vector<GeoPath>>&& parts, int level) {
                     for (auto& part : parts) {
                         for (GeoPath& path : part) {
                             out.push_back({std::move(path), level});
                         }
                     }
                 });
        }
        if (hasTable(db, QString::fromLatin1(kDivisions2008Layer.table))) {
            rows(db, kDivisions2008Layer,
                 [&](std::vector<std::vector<GeoPath>>&& parts, int level) {
                     for (auto& part : parts) {
                         for (GeoPath& path : part) {
                             map.divisions2008.push_back({std::move(path), level});
                         }
                     }
                 });
        }
        readNamedAreas(db, map);
        return map;
    }
};

}  // namespace

VectorMap GeoPackageReader::read(const QString& path) {
    return Reader(path).read();
}

}  // namespace zelkora
