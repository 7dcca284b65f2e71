#include "shell/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>
#include <array>

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

std::optional<FigureTarget> FileDialogs::saveFigureName(QWidget* parent, const FigureTarget& last) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const FigureType& type : kFigureTypes) {
        filters << QString::fromLatin1(type.filter);
    }
    dialog.setNameFilters(filters);
    const auto typeOf = [&](const QString& filter) {
        return kFigureTypes[static_cast<std::size_t>(
            std::max<qsizetype>(filters.indexOf(filter), 0))];
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(QString::fromLatin1(typeOf(filter).suffix));
    });
    const QString lastFilter = filters.at(static_cast<int>(last.format));
    dialog.selectNameFilter(lastFilter);
    dialog.setDefaultSuffix(QString::fromLatin1(typeOf(lastFilter).suffix));
    if (!last.fileName.isEmpty()) {
        dialog.selectFile(last.fileName);
    }
    const QString name = chosenFile(dialog);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return FigureTarget{name, typeOf(dialog.selectedNameFilter()).format};
}

}  // namespace zelkora
