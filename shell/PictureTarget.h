#pragma once

#include <QString>

#include "plot/SaveMapImage.h"

namespace zelkora {

// A picture file as the picture dialog gives it: its name and the file type chosen. The window
// writes the format that the name's extension names, and the chosen type's for any other name.
struct PictureTarget {
    QString fileName;
    ExportFormat format = ExportFormat::Jpeg;
};

}  // namespace zelkora
