#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "mapimage/TPngImage.h"

// The file types of the save dialog, by their index in its filter.
enum class ExportFormat : int { Jpeg = 1, Png = 2, Bmp = 3 };

// One sample of the picture drawn onto white (255) with alpha a: a = 0 keeps the white, a = 255
// gives the sample itself, anything between rounds down after adding 127.
constexpr std::uint8_t sampleOnWhite(int s, int a) {
    return static_cast<std::uint8_t>((255 * (255 - a) + s * a + 127) / 255);
}

// Writes picture, drawn onto white, as a file of the given format; the format never follows the
// file name's extension. Goes through a temporary file beside the target that is renamed into
// place, so a failed export leaves no broken file and an old file whole. Throws ZelkoraError:
// "Cannot create file "<name>". <reason>" when the file cannot be created, and a message of its
// own for an empty picture or a failed write.
void SaveMapImage(const TPngImage& picture, const QString& fileName, ExportFormat format);

// The format that a file name's extension stands for (jpg, jpeg, png, bmp, any case); nothing
// for any other extension. For zelkora-cli, which has no dialog.
std::optional<ExportFormat> exportFormatFromExtension(const QString& fileName);
