#include "shell/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

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

struct FigureType {
    FigureFormat format;
    const char* filter;
    const char* suffix;
};

// In the order of FigureFormat.
constexpr std::array<FigureType, 5> kFigureTypes = {{
    {FigureFormat::Tiff, "TIFF (*.tif *.tiff)", "tif"},
    {FigureFormat::Png, "PNG (*.png)", "png"},
    {FigureFormat::Jpeg, "JPEG (*.jpg *.jpeg)", "jpg"},
    {FigureFormat::Pdf, "PDF (*.pdf)", "pdf"},
    {FigureFormat::Svg, "SVG (*.svg)", "svg"},
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

// Every save dialog here asks before it replaces a file (Qt's question, "Нет" by default): a
// click on a name in the list must not cost the user another table, figure or their records.
QString chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

// Runs a save dialog with file types (per type a filter and the extension a bare name gets,
// which follows the type chosen), the type first selected and, when not empty, the file first
// named. Returns the file's name and the index of the type chosen, or an empty name.
std::pair<QString, std::size_t> chooseTypedFile(
    QFileDialog& dialog, const std::vector<std::pair<QString, QString>>& types, std::size_t first,
    const QString& firstName = {}) {
    QStringList filters;
    for (const auto& type : types) {
        filters << type.first;
    }
    dialog.setNameFilters(filters);
    const auto indexOf = [&](const QString& filter) {
        return static_cast<std::size_t>(std::max<qsizetype>(filters.indexOf(filter), 0));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(types[indexOf(filter)].second);
    });
    dialog.selectNameFilter(filters.at(static_cast<qsizetype>(first)));
    dialog.setDefaultSuffix(types[first].second);
    // After the type, which would otherwise give the name its extension.
    if (!firstName.isEmpty()) {
        dialog.selectFile(firstName);
    }
    const QString name = chosenFile(dialog);
    return {name, indexOf(dialog.selectedNameFilter())};
}

}  // namespace

QString FileDialogs::saveTableName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(kTableFilter);
    dialog.setDefaultSuffix(QStringLiteral("points"));
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
    std::vector<std::pair<QString, QString>> types;
    for (const PictureType& type : kPictureTypes) {
        types.emplace_back(QString::fromLatin1(type.filter), QString::fromLatin1(type.suffix));
    }
    const auto [name, index] =
        chooseTypedFile(dialog, types, static_cast<std::size_t>(last.format) - 1, last.fileName);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return PictureTarget{name, kPictureTypes[index].format};
}

std::optional<FigureTarget> FileDialogs::saveFigureName(QWidget* parent, const FigureTarget& last) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    std::vector<std::pair<QString, QString>> types;
    for (const FigureType& type : kFigureTypes) {
        types.emplace_back(QString::fromLatin1(type.filter), QString::fromLatin1(type.suffix));
    }
    const auto [name, index] =
        chooseTypedFile(dialog, types, static_cast<std::size_t>(last.format), last.fileName);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return FigureTarget{name, kFigureTypes[index].format};
}

QString FileDialogs::figureSuffix(FigureFormat format) {
    return QString::fromLatin1(kFigureTypes[static_cast<std::size_t>(format)].suffix);
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
    std::vector<std::pair<QString, QString>> types;
    for (const PointFileType& type : kPointFileTypes) {
        types.emplace_back(QString::fromUtf8(type.filter), QLatin1String(type.format));
    }
    const auto [name, index] = chooseTypedFile(dialog, types, 0);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const QString byName = pointFileFormatOf(name);
    return PointFileTarget{
        name, byName.isEmpty() ? QLatin1String(kPointFileTypes[index].format) : byName};
}

bool FileDialogs::replaceBesideFile(QWidget* parent, const QString& fileName) {
    return QMessageBox::question(parent, QStringLiteral("Zelkora"),
                                 QStringLiteral("Файл «%1» уже существует. Заменить его?")
                                     .arg(QFileInfo(fileName).fileName()),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace zelkora
