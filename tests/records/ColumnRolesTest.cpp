#include <gtest/gtest.h>

#include "common/ZelkoraError.h"
#include "records/ColumnRoles.h"
#include "tests/table/QtPrinters.h"

namespace zelkora {

namespace {

// The roles as "lat+lon, text; group g; marker m" by column index, -1 for none.
QString rolesOf(const QStringList& header, const ReadOptions& options = {}) {
    const ColumnRoles roles = findColumnRoles(header, options);
    QStringList sources;
    for (const CoordinateSource& s : roles.sources) {
        sources << (s.text >= 0 ? QString::number(s.text)
                                : QStringLiteral("%1+%2").arg(s.lat).arg(s.lon));
    }
    return QStringLiteral("%1; group %2; marker %3")
        .arg(sources.join(QStringLiteral(", ")))
        .arg(roles.group)
        .arg(roles.marker);
}

TEST(FindColumnRoles, ByHeaderNamesInAnyCase) {
    struct Case {
        const char* name;
        QStringList header;
        const char* roles;
    };
    const Case cases[] = {
        {"darwin core before the rest",
         {"verbatimLatitude", "decimalLongitude", "x", "scientificName", "decimalLatitude", "y",
          "verbatimLongitude"},
         "4+1, 5+2, 0+6; group 3; marker -1"},
        {"short names, any case", {"LAT", "Lng", "Taxon"}, "0+1; group 2; marker -1"},
        {"species before scientificName",
         {"scientificName", "species", "lat", "long"},
         "2+3; group 1; marker -1"},
        {"russian", {"Вид", "Широта", "Долгота"}, "1+2; group 0; marker -1"},
        {"vietnamese, decomposed accents",
         {"Loài", QString("Vi\u0303 \u0111o\u0323\u0302"), "Kinh độ"},
         "1+2; group 0; marker -1"},
        {"prefixed and spelled apart",
         {"dwc:decimal_latitude", "Decimal Longitude"},
         "0+1; group -1; marker -1"},
        {"one column of text", {"species", "verbatimCoordinates"}, "1; group 0; marker -1"},
        {"own export", {"group", "marker", "latitude", "longitude"}, "2+3; group 0; marker 1"},
        {"latitude alone is no pair", {"lat", "species"}, "; group 1; marker -1"},
        {"nothing known", {"a", "b"}, "; group -1; marker -1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rolesOf(c.header), QString::fromUtf8(c.roles)) << c.name;
    }
}

TEST(FindColumnRoles, OptionsNameTheColumns) {
    const QStringList header = {"Taxon name", "N", "E", "where", "species"};
    ReadOptions named;
    named.latColumn = QStringLiteral("n");
    named.lonColumn = QStringLiteral("E");
    named.groupBy = QStringLiteral("taxon_name");
    EXPECT_EQ(rolesOf(header, named), QStringLiteral("1+2; group 0; marker -1"));

    ReadOptions text;
    text.coordColumn = QStringLiteral("where");
    text.ungrouped = true;
    EXPECT_EQ(rolesOf(header, text), QStringLiteral("3; group -1; marker -1"));

    const auto error = [&](const ReadOptions& options) {
        try {
            findColumnRoles(header, options);
        } catch (const ZelkoraError& e) {
            return e.message();
        }
        return QString();
    };
    ReadOptions missing;
    missing.latColumn = QStringLiteral("lat");
    missing.lonColumn = QStringLiteral("E");
    EXPECT_EQ(error(missing),
              QStringLiteral("В заголовке нет столбца «lat» (--lat). Есть "
                             "столбцы: «Taxon name», «N», «E», «where», «species»"));
    ReadOptions half;
    half.latColumn = QStringLiteral("N");
    EXPECT_TRUE(error(half).contains(QStringLiteral("--lat ИМЯ --lon ИМЯ")));
}

}  // namespace

}  // namespace zelkora
