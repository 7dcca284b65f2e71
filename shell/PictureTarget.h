#pragma once

#include <QString>

#include "plot/SaveMapImage.h"

namespace zelkora {

// A picture file as the picture dialog gives it: its name and the file type chosen, which
// alone decides the format.
struct PictureTarget {
    QString fileName;
    ExportFormat format = ExportFormat::Jpeg;
};

}  // namespace zelkora
