#pragma once

#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <vector>

namespace zelkora {

struct FigureLayout;

// What is taken inside one panel's frame, where a name or a number may not go: the markers, the
// legend, the scale bar, the north arrow, the inset, and the names, numbers and leader lines
// placed so far. Boxes are looked up through a grid, so that a thousand markers cost little.
class TakenRoom {
  public:
    // outline: the frame on the page, closed; frame: its bounds.
    TakenRoom(const QPolygonF& outline, const QRectF& frame);

    void take(const QRectF& box);
    void take(const QLineF& leader);

    // Whether box lies inside the frame, kRoomFromFrameMm off its line, and meets nothing taken
    // (touching is not meeting).
    bool isFree(const QRectF& box) const;
    bool inFrame(const QRectF& box) const;
    bool meetsTaken(const QRectF& box) const;
    // Whether a line crosses anything taken.
    bool crossesTaken(const QLineF& line) const;

  private:
    struct Cells {
        int left = 0;
        int top = 0;
        int right = -1;
        int bottom = -1;
    };
    Cells cellsOf(const QRectF& box) const;

    QPolygonF outline_;
    QRectF frame_;
    bool rectangular_;
    int columns_;
    int rows_;
    std::vector<QRectF> boxes_;
    std::vector<std::vector<int>> cells_;  // the boxes meeting each cell, row by row
    std::vector<QLineF> leaders_;
};

// Whether a line segment passes through the inside of a rectangle.
bool crosses(const QLineF& line, const QRectF& rect);

// The room of a panel of a laid-out figure: its markers, the legend, scale bar, north arrow and
// inset when they stand in it, and the numbers (with their leaders) and names placed there.
TakenRoom takenRoomOf(const FigureLayout& layout, int panel);

}  // namespace zelkora
