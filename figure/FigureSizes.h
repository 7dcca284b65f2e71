#pragma once

namespace zelkora {

// Sizes of the figure's furniture, in millimetres, shared by the parts of the layout.
inline constexpr double kTickMm = 1.0;          // frame ticks, outside the frame
inline constexpr double kLabelGapMm = 0.6;      // between a tick and its label
inline constexpr double kLabelSpacingMm = 1.0;  // at least between two labels of one side
inline constexpr double kPanelGapMm = 4.0;      // between panels, either way
inline constexpr double kInsetMm = 1.5;         // legend, scale bar, arrow and inset from the frame
inline constexpr double kPadMm = 1.0;           // inside the legend's and the scale bar's boxes
inline constexpr double kMarkerGapMm = 1.5;     // between a marker and its text
inline constexpr double kRowGapMm = 0.6;        // between the legend's rows
inline constexpr double kBarThicknessMm = 0.7;  // the scale bar
inline constexpr double kBarLabelGapMm = 0.5;   // between the scale bar and its label
inline constexpr double kMarkerOutlineMm = 0.15;
inline constexpr double kTitleGapMm = 1.0;  // between a panel's title and its frame's labels
// Names and numbers on the map: their size in parts of the figure's font, the white halo round
// their letters, how far off the frame's line they stay, and the gap between a number and its
// marker.
inline constexpr double kCountryNameScale = 1.15;
inline constexpr double kDivisionNameScale = 0.9;
inline constexpr double kNumberScale = 0.85;
inline constexpr double kHaloMm = 0.2;
inline constexpr double kRoomFromFrameMm = 0.4;
inline constexpr double kNumberGapMm = 0.25;
inline constexpr double kLeaderPt = 0.35;
// The finest detail a figure keeps: lines are simplified to this on the page.
inline constexpr double kDetailMm = 0.05;

}  // namespace zelkora
