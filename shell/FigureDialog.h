#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "figure/FigureLayout.h"
#include "figure/FigureOptions.h"
#include "mapimage/DataPaths.h"
#include "shell/FigureTarget.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace zelkora {

class FigureMap;
class FigurePreview;
class PointTable;

// "Рисунок для статьи": a figure of the window's table for a paper, with a live preview. Every
// change of a setting redraws the preview (after a short pause, so that typing and held arrows
// draw once), from the map's geometry loaded once when the dialog opens. A rectangle drawn on
// the preview becomes the extent. The settings are remembered between runs (FigureSettings), and
// the dialog shows the zelkora-cli command line that draws the same figure. An error (a figure
// too deep for its preset, a box off the map) is shown in the dialog, whose settings stay as
// they are; warnings (points left out, a raster map printed below 300 dpi) are shown with the
// preview. The settings are written when a figure is saved and when the dialog goes, not at
// every redraw.
class FigureDialog : public QDialog {
  public:
    // What the figure is drawn from: the window's data folder, map, layers and table (copied as
    // the dialog opens), and the table's file, if it has one, for the command line.
    struct Source {
        QString dataDir;  // ends in "/"
        int map = kMapFarEast;
        std::array<bool, kLayerCount> layers = kDefaultLayers;
        const PointTable* table = nullptr;
        QString tableFile;
        // The map's geometry, when the window has it loaded already; empty: the dialog loads it.
        std::shared_ptr<const FigureMap> figureMap = nullptr;
    };
    // The save dialog; empty for the real one. Tests put in their own.
    struct Hooks {
        std::function<std::optional<FigureTarget>(const FigureTarget& last)> saveName;
        // Whether the numbers' key beside the figure may replace a file that is there already.
        std::function<bool(const QString& keyFile)> replaceKey;
    };

    // The pause after a change before the preview is redrawn.
    static constexpr int kRedrawDelayMs = 40;
    // The name the command line gives a table that has no file yet.
    static const QString kUnsavedTable;

    // Loads the map's geometry and the remembered settings, and draws the first preview when
    // shown. Throws ZelkoraError when the map cannot be read.
    FigureDialog(const Source& source, Hooks hooks = {}, QWidget* parent = nullptr);
    ~FigureDialog() override;

    // The settings as they stand, and setting them all at once (the preview follows).
    FigureOptions options() const;
    void setOptions(const FigureOptions& options);

    // The words after "zelkora-cli" that draw the same figure from the table's file into the
    // last saved file (or "рисунок" with the format's extension), with the numbers' key beside
    // it when the points are numbered, and the command line as the
    // dialog shows it: the same words, quoted for a POSIX shell.
    QStringList commandWords() const;
    QString commandLine() const;

    // Redraws the preview now, as the pause after a change would.
    void redrawNow();
    // How many times the preview has been redrawn (laid out and drawn, or refused).
    int redraws() const { return redraws_; }
    // The figure of the last redraw; nothing when its settings were refused.
    const FigureLayout* figure() const { return layout_ ? &*layout_ : nullptr; }
    const FigureMap& map() const { return *map_; }

    // Controls.
    FigurePreview* pvFigure;
    QLabel* lbPointer;   // the degrees under the pointer, or how to draw a rectangle
    QLabel* lbError;     // the error that stops the figure, in red; hidden when there is none
    QLabel* lbWarnings;  // hidden when there are none
    QLabel* lbSize;      // the figure's size in millimetres and pixels
    // The names written and left out, and the numbers' key; hidden when there are neither.
    QLabel* lbNames;
    // Why the command line cannot draw the same points yet (the table has no file, or its file
    // holds other cells); hidden when it can.
    QLabel* lbTableNote;
    QComboBox* cbPreset;
    QDoubleSpinBox* edWidth;
    QSpinBox* edDpi;
    QRadioButton* rbMap;
    QRadioButton* rbPoints;
    QRadioButton* rbBox;
    QDoubleSpinBox* edMargin;
    QDoubleSpinBox* edSouth;
    QDoubleSpinBox* edWest;
    QDoubleSpinBox* edNorth;
    QDoubleSpinBox* edEast;
    QDoubleSpinBox* edMarker;
    QCheckBox* cbRed;
    QComboBox* cbLegend;
    QCheckBox* cbItalic;
    QDoubleSpinBox* edFont;
    QComboBox* cbScaleBar;
    QComboBox* cbScaleBarStyle;  // in the order of ScaleBarStyle
    QComboBox* cbLanguage;
    QComboBox* cbProjection;  // in the order of FigureProjectionKind
    QComboBox* cbGraticule;   // auto, off, then the intervals of kGraticuleMinutes
    QCheckBox* cbAllSides;
    QComboBox* cbNorthArrow;
    QComboBox* cbInset;
    QCheckBox* cbPanels;
    QCheckBox* cbCountryNames;
    QCheckBox* cbDivisionNames;
    QComboBox* cbDivisions;  // in the order of FigureDivisions; off where the map has one
    QComboBox* cbNumbers;    // in the order of PointNumbering
    QComboBox* cbFormat;
    QPlainTextEdit* mmCommand;
    QPushButton* bCopy;
    QPushButton* bSave;
    QPushButton* bClose;

  private:
    void buildLayout();
    void rememberSettings() const;
    void connectControls();
    void scheduleRedraw();
    void redraw();
    void presetChosen();
    void sizeEdited();
    void extentChosen();
    void rectangleDrawn(const QRectF& mm);
    void pointerMoved(std::optional<QPointF> mm);
    std::optional<QRectF> frameAt(QPointF mm) const;
    void saveClick();
    void showWarnings(const FigureLayout& layout);
    void setBox(const DegreeBox& box);
    void updateEnabled();
    QString outFile() const;
    // The numbers' key written beside the figure: its name with "-key.csv".
    QString keyFile() const;
    void showNames(const FigureLayout& layout);
    // Whether the map has the divisions of 2008 to offer.
    bool hasDivisions2008() const;
    QString tableNote() const;

    Source source_;
    Hooks hooks_;
    std::unique_ptr<PointTable> table_;
    std::shared_ptr<const FigureMap> map_;
    std::optional<FigureLayout> layout_;
    QString lastFile_;
    QTimer* redrawTimer_;
    QButtonGroup* extentGroup_;
    int redraws_ = 0;
};

}  // namespace zelkora
