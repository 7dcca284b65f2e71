#include "shell/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>
#include <array>

#include "records/OccurrenceFormats.h"
#include "records/PointFileExport.h"

namespace zelkora {

namespace {

const QString kTableFilter = QStringLiteral("*.points");

struct PictureType {
    ExportFormat format;
    const char* filter;
    const char* suffix;
};

constexpr std::array<PictureType, 3> kPictureTypes = {{
    {ExportFormat::Jpeg, "JPEG Image File (*.jpg)", "jpg"},
    {ExportFormat::Png, "Portable Network Graphics (*.png)", "png"},
    {ExportFormat::Bmp, "Bitmap Picture (*.bmp)", "bmp"},
}};

struct PointFileType {
    const char* format;  // as exportTable names it, and the extension a bare name gets
    const char* filter;
};

constexpr std::array<PointFileType, 4> kPointFileTypes = {{
    {"csv", "CSV, таблица UTF-8 (*.csv)"},
    {"geojson", "GeoJSON (*.geojson)"},
    {"kml", "KML, для Google Earth (*.kml)"},
    {"gpx", "GPX, точки для GPS (*.gpx)"},
}};

QString chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

}  // namespace

QString FileDialogs::saveTableName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(kTableFilter);
    dialog.setDefaultSuffix(QStringLiteral("points"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return chosenFile(dialog);
}

QString FileDialogs::openTableName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(kTableFilter);
    return chosenFile(dialog);
}

std::optional<PictureTarget> FileDialogs::savePictureName(QWidget* parent,
                                                          const PictureTarget& last) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const PictureType& type : kPictureTypes) {
        filters << QString::fromLatin1(type.filter);
    }
    dialog.setNameFilters(filters);
    const auto suffixOf = [&](const QString& filter) {
        const auto index = filters.indexOf(filter);
        return QString::fromLatin1(
            kPictureTypes[static_cast<std::size_t>(std::max<qsizetype>(index, 0))].suffix);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    const QString lastFilter = filters.at(static_cast<int>(last.format) - 1);
    dialog.selectNameFilter(lastFilter);
    dialog.setDefaultSuffix(suffixOf(lastFilter));
    if (!last.fileName.isEmpty()) {
        dialog.selectFile(last.fileName);
    }
    const QString name = chosenFile(dialog);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const auto index = std::max<qsizetype>(filters.indexOf(dialog.selectedNameFilter()), 0);
    return PictureTarget{name, kPictureTypes[static_cast<std::size_t>(index)].format};
}

QString FileDialogs::importPointsName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Импорт точек"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList patterns;
    for (const QString& extension : occurrenceFileExtensions()) {
        patterns << QStringLiteral("*.") + extension;
    }
    dialog.setNameFilters({QStringLiteral("Файлы точек (%1)").arg(patterns.join(QLatin1Char(' '))),
                           QStringLiteral("Все файлы (*)")});
    return chosenFile(dialog);
}

std::optional<PointFileTarget> FileDialogs::exportPointsName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Экспорт точек"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Unlike the table's and the picture's, this dialog asks before it replaces a file: the
    // file a user would replace here is as likely the records the points came from.
    QStringList filters;
    for (const PointFileType& type : kPointFileTypes) {
        filters << QString::fromUtf8(type.filter);
    }
    dialog.setNameFilters(filters);
    const auto typeOf = [&](const QString& filter) {
        return kPointFileTypes[static_cast<std::size_t>(
            std::max<qsizetype>(filters.indexOf(filter), 0))];
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(QLatin1String(typeOf(filter).format));
    });
    dialog.setDefaultSuffix(QLatin1String(kPointFileTypes[0].format));
    const QString name = chosenFile(dialog);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const QString byName = pointFileFormatOf(name);
    return PointFileTarget{name, byName.isEmpty()
                                     ? QLatin1String(typeOf(dialog.selectedNameFilter()).format)
                                     : byName};
}

}  // namespace zelkora
