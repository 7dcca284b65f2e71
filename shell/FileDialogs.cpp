#include "shell/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>
#include <algorithm>
#include <array>
#include <utility>

namespace zelkora {

namespace {

const QString kTableFilter = QStringLiteral("*.points");

// A file type of a save dialog: its filter and the extension a bare name gets.
template <typename Format>
struct FileType {
    Format format;
    const char* filter;
    const char* suffix;
};

constexpr std::array<FileType<ExportFormat>, 3> kPictureTypes = {{
    {ExportFormat::Jpeg, "JPEG Image File (*.jpg)", "jpg"},
    {ExportFormat::Png, "Portable Network Graphics (*.png)", "png"},
    {ExportFormat::Bmp, "Bitmap Picture (*.bmp)", "bmp"},
}};

// In the order of FigureFormat.
constexpr std::array<FileType<FigureFormat>, 5> kFigureTypes = {{
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

// A save dialog offering types, opened on the type lastType and the name lastName: the name
// chosen and the type of the filter chosen, or nothing when cancelled.
template <typename Format, std::size_t N>
std::optional<std::pair<QString, Format>> savedName(QWidget* parent,
                                                    const std::array<FileType<Format>, N>& types,
                                                    std::size_t lastType, const QString& lastName,
                                                    bool askBeforeReplacing) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askBeforeReplacing);
    QStringList filters;
    for (const FileType<Format>& type : types) {
        filters << QString::fromLatin1(type.filter);
    }
    dialog.setNameFilters(filters);
    const auto typeOf = [&](const QString& filter) {
        return types[static_cast<std::size_t>(std::max<qsizetype>(filters.indexOf(filter), 0))];
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(QString::fromLatin1(typeOf(filter).suffix));
    });
    const QString lastFilter = filters.at(static_cast<qsizetype>(std::min(lastType, N - 1)));
    dialog.selectNameFilter(lastFilter);
    dialog.setDefaultSuffix(QString::fromLatin1(typeOf(lastFilter).suffix));
    if (!lastName.isEmpty()) {
        dialog.selectFile(lastName);
    }
    const QString name = chosenFile(dialog);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return std::pair{name, typeOf(dialog.selectedNameFilter()).format};
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
    const auto chosen = savedName(parent, kPictureTypes, static_cast<std::size_t>(last.format) - 1,
                                  last.fileName, false);
    if (!chosen) {
        return std::nullopt;
    }
    return PictureTarget{chosen->first, chosen->second};
}

std::optional<FigureTarget> FileDialogs::saveFigureName(QWidget* parent, const FigureTarget& last) {
    const auto chosen =
        savedName(parent, kFigureTypes, static_cast<std::size_t>(last.format), last.fileName, true);
    if (!chosen) {
        return std::nullopt;
    }
    return FigureTarget{chosen->first, chosen->second};
}

QString FileDialogs::figureSuffix(FigureFormat format) {
    return QString::fromLatin1(kFigureTypes[static_cast<std::size_t>(format)].suffix);
}

}  // namespace zelkora
