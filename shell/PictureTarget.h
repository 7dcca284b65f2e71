#pragma once

#include <QString>

#include "plot/SaveMapImage.h"

// A picture file as the picture dialog gives it: its name and the file type chosen, which
// alone decides the format.
struct PictureTarget {
    QString fileName;
    ExportFormat format = ExportFormat::Jpeg;
};
