#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "mapimage/DataPaths.h"
#include "projection/Tpar.h"

namespace zelkora {

// What part of the map a figure shows.
enum class FigureExtent {
    WholeMap,  // the map's whole picture
    Box,       // a box in degrees, south, west, north, east
    Points,    // the points with a margin, clamped to the map
};

// A corner of the frame for the legend or the scale bar. Auto picks the corner that covers the
// fewest points; None leaves the item out.
enum class FigureCorner { Auto, TopLeft, TopRight, BottomLeft, BottomRight, None };

// The language of the figure's own words (km, the degree letters).
enum class FigureLanguage { English, Russian };

enum class FigureFormat { Tiff, Png, Jpeg, Pdf, Svg };

// The projection a figure is drawn in: a conic centred on its extent with north up, or the
// map's own, turned as the window shows it.
enum class FigureProjectionKind { NorthUp, Map };

// The scale bar: one black bar, or alternating black and white segments labelled 0, half and
// the whole length, as journals' maps have.
enum class ScaleBarStyle { Plain, Ticked };

// The first-level divisions a figure draws and names: those in force now, or the arrangement of
// 2008 (Vietnam's 63 provinces, which stood until 30 June 2025), for figures of older records.
enum class FigureDivisions { Current, Of2008 };

// Numbers beside the markers, in table order within each column: none, from 1 in every column,
// or running on across the columns.
enum class PointNumbering { None, PerColumn, Continuous };

// The graticule's interval: chosen for the frame, or forced in minutes of arc.
inline constexpr int kAutoGraticule = 0;

// A box in degrees. Longitudes are continuous: east may exceed 180 on the Far East map.
struct DegreeBox {
    double south = 0.0;
    double west = 0.0;
    double north = 0.0;
    double east = 0.0;
    friend bool operator==(const DegreeBox&, const DegreeBox&) = default;
};

// A journal's figure size: width, resolution and the largest size it takes.
struct FigurePreset {
    const char* name;
    double widthMm;
    double dpi;
    double maxHeightMm;  // 0: no limit in millimetres
    int maxWidthPx;      // 0: no limit in pixels
    int maxHeightPx;
    int minWidthPx;  // a preset with one narrows a figure too high for it, down to this width
};

// nature-1, nature-1.5, nature-2, plos, elsevier-1, elsevier-1.5, elsevier-2, in that order.
const std::vector<FigurePreset>& figurePresets();
const FigurePreset* findFigurePreset(const QString& name);

// Everything that decides a figure's pixels, besides the table and the map data. The dialog and
// the command line both fill one of these (cli/FigureArgs turns one into the other and back).
struct FigureOptions {
    QString dataDir;  // the folder that holds "maps", ending in "/"
    int map = kMapFarEast;
    std::array<bool, kLayerCount> layers = kDefaultLayers;

    double markerMm = 2.5;
    bool red = false;

    FigureExtent extent = FigureExtent::Points;
    DegreeBox box;                // for FigureExtent::Box
    double marginPercent = 10.0;  // for FigureExtent::Points, of the points' extent on each side

    QString preset;  // the preset the size came from, empty for none
    double widthMm = 89.0;
    double dpi = 600.0;
    double maxHeightMm = 0.0;  // limits of the preset; 0 for none
    int maxWidthPx = 0;
    int maxHeightPx = 0;
    int minWidthPx = 0;

    FigureCorner legend = FigureCorner::Auto;
    bool italic = false;  // legend names and panel titles, as species names are printed
    double fontPt = 7.0;  // every text of the figure
    FigureCorner scaleBar = FigureCorner::Auto;
    FigureLanguage language = FigureLanguage::English;
    bool panels = false;  // one panel per column that holds points

    FigureProjectionKind projection = FigureProjectionKind::NorthUp;
    int graticuleMinutes = kAutoGraticule;         // the interval forced, in minutes of arc
    bool graticuleLines = true;                    // false: ticks and labels only
    bool labelAllSides = false;                    // latitudes right too, longitudes on top too
    FigureCorner northArrow = FigureCorner::Auto;  // Auto: drawn when no lines show north
    ScaleBarStyle scaleBarStyle = ScaleBarStyle::Plain;
    FigureCorner inset = FigureCorner::None;  // the locator map of the whole region

    FigureDivisions divisions = FigureDivisions::Current;
    bool nameCountries = false;  // the countries' names, in the figure's language
    bool nameDivisions = false;  // the names of the map's own country's divisions, as written
    PointNumbering numbering = PointNumbering::None;

    FigureFormat format = FigureFormat::Tiff;

    friend bool operator==(const FigureOptions&, const FigureOptions&) = default;
};

// Sets the size and the limits of a preset; throws ZelkoraError naming the presets for an
// unknown name.
void applyFigurePreset(FigureOptions& options, const QString& name);

// Checks the numbers of the options, each against its range, and throws ZelkoraError with the
// user's message for the first that is out of it.
void checkFigureOptions(const FigureOptions& options);

// The format a name stands for (tiff, tif, png, jpeg, jpg, pdf, svg, any case), and the name
// of each format.
std::optional<FigureFormat> figureFormatFromName(const QString& name);
std::optional<FigureFormat> figureFormatFromExtension(const QString& fileName);
QString figureFormatName(FigureFormat format);

// Pixels across a length in millimetres at a resolution, rounded to the nearest whole pixel.
int pixelsForMm(double mm, double dpi);

}  // namespace zelkora
