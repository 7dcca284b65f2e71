#pragma once

#include <QLineF>
#include <QRectF>
#include <array>
#include <vector>

#include "figure/FigureLayout.h"
#include "figure/FigureText.h"

namespace zelkora {

// The graticule's intervals and the frame's ticks and labels, decided here once for every
// figure: latitudes on the left and right sides only, longitudes on the bottom and top only;
// left and bottom by default, all four sides on request. The interval of each is the finest of
// kGraticuleMinutes at which every labelled side carries at most kMaxLabelsPerSide labels, none
// touching the next; labels read degrees and minutes when the interval is under a degree.

inline constexpr std::array<int, 14> kGraticuleMinutes = {1,  2,   5,   10,  15,  20,   30,
                                                          60, 120, 300, 600, 900, 1200, 1800};
inline constexpr int kMaxLabelsPerSide = 6;

// The room the labels need around a frame, in millimetres.
struct FrameRoom {
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
};
FrameRoom frameRoom(const FigureText& label, const FigureOptions& options, bool minutes);

// Whether labels at this interval show minutes.
constexpr bool labelsShowMinutes(int intervalMinutes) {
    return intervalMinutes % 60 != 0;
}

struct FrameAnnotation {
    int latitudeMinutes = 60;
    int longitudeMinutes = 60;
    // For the first panel; the others are the same moved with their frames.
    std::vector<QLineF> ticks;
    std::vector<FrameLabel> labels;
};

// The intervals, ticks and labels of the layout's frame: its projection, box or extent,
// outline, scale and first panel must be set. Labels that would leave the page or touch one
// another are left out.
FrameAnnotation annotateFrame(const FigureLayout& layout, const FigureText& label);

}  // namespace zelkora
