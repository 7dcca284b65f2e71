#pragma once

#include <QString>

#include "figure/FigureOptions.h"

namespace zelkora {

// A figure file as the figure dialog's save dialog gives it: its name and the file type chosen.
// The dialog writes the format that the name's extension names, and the chosen type's for any
// other name.
struct FigureTarget {
    QString fileName;
    FigureFormat format = FigureFormat::Tiff;
};

}  // namespace zelkora
