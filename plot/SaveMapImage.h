#pragma once

#include <QString>
#include <optional>

#include "mapimage/TPngImage.h"

namespace zelkora {

// The file types of the save dialog, by their index in its filter.
enum class ExportFormat : int { Jpeg = 1, Png = 2, Bmp = 3 };

// Writes picture, drawn onto white, as a file of the given format; the format never follows the
// file name's extension. Written as savePictureFile (mapimage/PictureFile.h) writes, with its
// errors; an empty picture or an unknown format is refused with a message of its own.
void SaveMapImage(const TPngImage& picture, const QString& fileName, ExportFormat format);

// Refuses an empty picture with SaveMapImage's message, before anything is asked or written.
void checkExportable(const TPngImage& picture);

// The format that a name stands for (jpg, jpeg, png, bmp, any case); nothing for any other.
// For zelkora-cli, which has no dialog: its --format option and the extension of --out.
std::optional<ExportFormat> exportFormatFromName(const QString& name);
std::optional<ExportFormat> exportFormatFromExtension(const QString& fileName);

}  // namespace zelkora
