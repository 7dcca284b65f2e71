#include "records/ColumnRoles.h"

#include <initializer_list>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

using Names = std::initializer_list<const char16_t*>;

// Keys as columnKey makes them.
const Names kDecimalLat = {u"decimallatitude"};
const Names kDecimalLon = {u"decimallongitude"};
const Names kLat = {u"lat", u"latitude", u"y", u"широта", u"vĩđộ"};
const Names kLon = {u"lon", u"lng", u"long", u"longitude", u"x", u"долгота", u"kinhđộ"};
const Names kVerbatimLat = {u"verbatimlatitude"};
const Names kVerbatimLon = {u"verbatimlongitude"};
const Names kCoordinateText = {u"verbatimcoordinates", u"coordinates", u"coords", u"координаты",
                               u"tọađộ"};
// In order of preference: GBIF's files hold both species and scientificName, and the latter
// splits one species into several groups by its authorship and subspecies.
const Names kGroup = {
    u"species", u"scientificname", u"acceptedscientificname", u"taxon", u"вид", u"loài",
    u"group",   u"folder"};
const Names kMarker = {u"marker"};

int findKey(const QStringList& keys, const Names& names) {
    for (const char16_t* name : names) {
        const qsizetype at = keys.indexOf(QString::fromUtf16(name));
        if (at >= 0) {
            return static_cast<int>(at);
        }
    }
    return -1;
}

QStringList keysOf(const QStringList& header) {
    QStringList keys;
    keys.reserve(header.size());
    for (const QString& name : header) {
        keys << columnKey(name);
    }
    return keys;
}

int requiredColumn(const QStringList& header, const QString& name, const char* option) {
    const int at = findColumn(header, name);
    if (at < 0) {
        throw ZelkoraError(QStringLiteral("В заголовке нет столбца «%1» (%2). Есть столбцы: %3")
                               .arg(visibleText(name), QLatin1String(option), quotedNames(header)));
    }
    return at;
}

}  // namespace

QString quotedNames(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names) {
        quoted << QStringLiteral("«%1»").arg(visibleText(name));
    }
    return quoted.join(QStringLiteral(", "));
}

QString columnKey(const QString& name) {
    QString text = name.normalized(QString::NormalizationForm_C).toCaseFolded();
    // "dwc:decimalLatitude", "http://rs.tdwg.org/dwc/terms/decimalLatitude"
    const qsizetype cut =
        std::max(text.lastIndexOf(QLatin1Char(':')), text.lastIndexOf(QLatin1Char('/')));
    if (cut >= 0 && cut + 1 < text.size()) {
        text = text.mid(cut + 1);
    }
    QString key;
    key.reserve(text.size());
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c.isMark()) {
            key += c;
        }
    }
    return key;
}

int findColumn(const QStringList& header, const QString& name) {
    const qsizetype exact = header.indexOf(name);
    if (exact >= 0) {
        return static_cast<int>(exact);
    }
    const QString key = columnKey(name);
    return key.isEmpty() ? -1 : static_cast<int>(keysOf(header).indexOf(key));
}

int findGroupColumn(const QStringList& header) {
    return findKey(keysOf(header), kGroup);
}

ColumnRoles findColumnRoles(const QStringList& header, const ReadOptions& options) {
    ColumnRoles roles;
    roles.names = header;
    const QStringList keys = keysOf(header);

    if (!options.latColumn.isEmpty() || !options.lonColumn.isEmpty()) {
        if (options.latColumn.isEmpty() || options.lonColumn.isEmpty()) {
            throw ZelkoraError(
                QStringLiteral("Столбцы широты и долготы называются вместе: --lat ИМЯ --lon ИМЯ"));
        }
        roles.sources.push_back({requiredColumn(header, options.latColumn, "--lat"),
                                 requiredColumn(header, options.lonColumn, "--lon"), -1});
    }
    if (!options.coordColumn.isEmpty()) {
        roles.sources.push_back({-1, -1, requiredColumn(header, options.coordColumn, "--coords")});
    }
    if (roles.sources.empty()) {
        const auto addPair = [&](const Names& latNames, const Names& lonNames) {
            const int lat = findKey(keys, latNames);
            const int lon = findKey(keys, lonNames);
            if (lat >= 0 && lon >= 0) {
                roles.sources.push_back({lat, lon, -1});
            }
        };
        addPair(kDecimalLat, kDecimalLon);
        addPair(kLat, kLon);
        addPair(kVerbatimLat, kVerbatimLon);
        const int text = findKey(keys, kCoordinateText);
        if (text >= 0) {
            roles.sources.push_back({-1, -1, text});
        }
    }

    if (!options.groupBy.isEmpty()) {
        roles.group = requiredColumn(header, options.groupBy, "--group-by");
    } else if (!options.ungrouped) {
        roles.group = findKey(keys, kGroup);
    }
    roles.marker = roles.group >= 0 ? findKey(keys, kMarker) : -1;
    return roles;
}

QString ColumnRoles::describe() const {
    const auto name = [&](int column) {
        return QStringLiteral("«%1»").arg(visibleText(names.value(column)));
    };
    QStringList parts;
    for (const CoordinateSource& s : sources) {
        parts << (s.text >= 0 ? name(s.text) : name(s.lat) + QStringLiteral(" и ") + name(s.lon));
    }
    QString text =
        QStringLiteral("координаты из столбцов ") + parts.join(QStringLiteral(", затем "));
    if (group >= 0) {
        text += QStringLiteral("; группы по столбцу ") + name(group);
    }
    return text;
}

}  // namespace zelkora
