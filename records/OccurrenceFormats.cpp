#include "records/OccurrenceFormats.h"

#include <QFile>
#include <QFileInfo>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/DelimitedOccurrences.h"
#include "records/GeoJsonOccurrences.h"
#include "records/GpxOccurrences.h"
#include "records/KmlOccurrences.h"
#include "records/TextEncoding.h"
#include "records/XmlRecords.h"

namespace zelkora {

namespace {

// A format a file may come in: its --format name, the extensions that name it, whether its
// content shows it, and its reader. A reader returns nothing for plain lines of coordinates.
struct Format {
    const char* name;
    QStringList extensions;
    bool (*shows)(const QByteArray& bytes);
    std::optional<OccurrenceSet> (*read)(const QByteArray& bytes, const ReadOptions& options,
                                         bool forced);
};

// The first character that is no blank or byte-order mark, or 0.
char firstSignificant(const QByteArray& bytes) {
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && QByteArrayView(" \t\r\n").contains(bytes[i])) {
        ++i;
    }
    return i < bytes.size() ? bytes[i] : '\0';
}

bool showsRoot(const QByteArray& bytes, const char* root) {
    return firstSignificant(bytes) == '<' && rootElementName(bytes) == QLatin1String(root);
}

std::optional<OccurrenceSet> delimited(const QByteArray& bytes, DelimitedDialect dialect,
                                       const ReadOptions& options, bool forced) {
    return readDelimitedOccurrences(bytes, dialect, options, forced);
}

const std::vector<Format>& formats() {
    static const std::vector<Format> kFormats = {
        {"gpx",
         {QStringLiteral("gpx")},
         [](const QByteArray& b) { return showsRoot(b, "gpx"); },
         [](const QByteArray& b, const ReadOptions& o, bool) -> std::optional<OccurrenceSet> {
             return readGpxOccurrences(b, o);
         }},
        {"kml",
         {QStringLiteral("kml")},
         [](const QByteArray& b) { return showsRoot(b, "kml"); },
         [](const QByteArray& b, const ReadOptions& o, bool) -> std::optional<OccurrenceSet> {
             return readKmlOccurrences(b, o);
         }},
        {"geojson",
         {QStringLiteral("geojson"), QStringLiteral("json")},
         [](const QByteArray& b) { return firstSignificant(b) == '{'; },
         [](const QByteArray& b, const ReadOptions& o, bool) -> std::optional<OccurrenceSet> {
             return readGeoJsonOccurrences(b, o);
         }},
        {"gbif",
         {},
         nullptr,
         [](const QByteArray& b, const ReadOptions& o, bool forced) {
             return delimited(b, {'\t', true}, o, forced);
         }},
        {"tsv",
         {QStringLiteral("tsv"), QStringLiteral("tab")},
         nullptr,
         [](const QByteArray& b, const ReadOptions& o, bool forced) {
             return delimited(b, {'\t', false}, o, forced);
         }},
        {"semicolon",
         {},
         nullptr,
         [](const QByteArray& b, const ReadOptions& o, bool forced) {
             return delimited(b, {';', false}, o, forced);
         }},
        {"csv",
         {QStringLiteral("csv"), QStringLiteral("txt")},
         nullptr,
         [](const QByteArray& b, const ReadOptions& o, bool forced) {
             return delimited(b, {}, o, forced);
         }},
        {"text",
         {},
         nullptr,
         [](const QByteArray&, const ReadOptions&, bool) -> std::optional<OccurrenceSet> {
             return std::nullopt;
         }},
    };
    return kFormats;
}

const Format& formatNamed(const char* name) {
    for (const Format& format : formats()) {
        if (qstrcmp(format.name, name) == 0) {
            return format;
        }
    }
    throw ZelkoraError(QStringLiteral("Нет формата %1").arg(QLatin1String(name)));
}

}  // namespace

QStringList occurrenceFormatNames() {
    QStringList names;
    for (const Format& format : formats()) {
        names << QLatin1String(format.name);
    }
    return names;
}

QStringList occurrenceFileExtensions() {
    QStringList extensions;
    for (const Format& format : formats()) {
        extensions << format.extensions;
    }
    return extensions;
}

void requireText(const QByteArray& bytes, const QString& what) {
    // Only formats that are text are read; a picture or an archive renamed .csv is refused
    // whole rather than read as numbers.
    if (const auto why = whyNotText(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        throw ZelkoraError(QStringLiteral("%1 — не текстовый файл: %2. Точки из него не "
                                          "вставлены.")
                               .arg(what, *why));
    }
}

QByteArray readRecordsFile(const QString& fileName) {
    QFile file(fileName);
    const QString name = visibleText(fileName);
    // A folder opens as a file with nothing in it: it is said to be one instead.
    if (QFileInfo(fileName).isDir()) {
        throw ZelkoraError(QStringLiteral("Не удалось открыть \"%1\": это папка").arg(name));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw ZelkoraError(
            QStringLiteral("Не удалось открыть \"%1\": %2").arg(name, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ZelkoraError(
            QStringLiteral("Не удалось прочитать \"%1\": %2").arg(name, file.errorString()));
    }
    requireText(bytes, QStringLiteral("\"%1\"").arg(name));
    return bytes;
}

namespace {

// The format of a file, and whether its reader must read it (named by --format, or by an
// extension that promises GPX, KML or GeoJSON, so that what is wrong is said) or may find that
// it holds plain lines of coordinates.
struct Found {
    const Format* format;
    bool forced;
};

Found findFormat(const QByteArray& bytes, const QString& fileName, const ReadOptions& options) {
    if (!options.format.isEmpty()) {
        for (const Format& format : formats()) {
            if (options.format.compare(QLatin1String(format.name), Qt::CaseInsensitive) == 0) {
                return {&format, true};
            }
        }
        throw ZelkoraError(QStringLiteral("Неизвестный формат «%1»: можно %2")
                               .arg(visibleText(options.format),
                                    occurrenceFormatNames().join(QStringLiteral(", "))));
    }
    if (bytes.startsWith("PK\x03\x04")) {
        throw ZelkoraError(QStringLiteral(
            "Файл — архив ZIP (KMZ или архив Darwin Core): распакуйте его и откройте doc.kml или "
            "occurrence.txt"));
    }
    for (const Format& format : formats()) {
        if (format.shows && format.shows(bytes)) {
            return {&format, false};
        }
    }
    const QString extension = QFileInfo(fileName).suffix().toLower();
    for (const Format& format : formats()) {
        if (!extension.isEmpty() && format.extensions.contains(extension)) {
            return {&format, format.shows != nullptr};
        }
    }
    return {&formatNamed("csv"), false};
}

}  // namespace

OccurrenceFormat occurrenceFormatOf(const QByteArray& bytes, const QString& fileName,
                                    const ReadOptions& options) {
    const Found found = findFormat(bytes, fileName, options);
    return {QLatin1String(found.format->name), !options.format.isEmpty()};
}

std::optional<DelimitedDialect> delimitedDialect(const QString& formatName) {
    struct Entry {
        const char* name;
        DelimitedDialect dialect;
    };
    static const Entry kDialects[] = {
        {"gbif", {'\t', true}}, {"tsv", {'\t', false}}, {"semicolon", {';', false}}, {"csv", {}}};
    for (const Entry& e : kDialects) {
        if (formatName == QLatin1String(e.name)) {
            return e.dialect;
        }
    }
    return std::nullopt;
}

std::optional<OccurrenceSet> readOccurrences(const QByteArray& bytes, const QString& fileName,
                                             const ReadOptions& options) {
    const Found found = findFormat(bytes, fileName, options);
    return found.format->read(bytes, options, found.forced);
}

std::optional<OccurrenceSet> readOccurrencesOrLines(const QByteArray& bytes,
                                                    const QString& fileName,
                                                    const ReadOptions& options) {
    const Found found = findFormat(bytes, fileName, options);
    // A delimited file named by --format is read as it says, but the plan decides what a header
    // without coordinates means.
    return found.format->read(bytes, options,
                              found.forced && !delimitedDialect(QLatin1String(found.format->name)));
}

}  // namespace zelkora
