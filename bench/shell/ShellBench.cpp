// The window's share of a layer click on the real high-resolution Far East map: scaling a new
// picture into the view, and a whole click from the handler to the view's new picture. And the
// figure dialog's preview, redrawn after a change of its settings.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

#include "mapimage/Compositing.h"
#include "mapimage/MapAssembly.h"
#include "projection/Tpar.h"
#include "projection/geo.h"
#include "shell/CopperTheme.h"
#include "shell/FigureDialog.h"
#include "shell/FigurePreview.h"
#include "shell/PictureView.h"
#include "shell/StringGrid.h"
#include "shell/TmainForm.h"
#include "shell/WrapCheckBox.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

const QString kRealData = QStringLiteral(ZELKORA_DATA_DIR);
const QString kFarEast = QStringLiteral("Дальний Восток");
constexpr int kViewWidth = 466;
constexpr int kViewHeight = 782;

// The real map with all its layers on a 2000 x 3360 canvas, the largest map size there is.
const TPngImage& largestPicture() {
    static const TPngImage picture = [] {
        TPngImage map;
        assembleMap(map, kRealData, kFarEast, true, {true, true, true, true, true});
        SetPNGCanvasSize(map, 2000, 3360, 0, 0);
        return map;
    }();
    return picture;
}

void BM_ViewScale(benchmark::State& state) {
    PictureView view;
    view.resize(kViewWidth, kViewHeight);
    for (auto _ : state) {
        state.PauseTiming();
        TPngImage picture = largestPicture();
        state.ResumeTiming();
        view.setPicture(std::move(picture));
    }
    if (view.shownSize() != PictureView::fitSize({2000, 3360}, {kViewWidth, kViewHeight})) {
        state.SkipWithError("the picture is not shown at the size of the view");
    }
}
BENCHMARK(BM_ViewScale)->UseRealTime()->Unit(benchmark::kMillisecond);

// 1000 points on the map, spread over the nine marker types.
void fillTable(PointTable& table) {
    table.setShape(9, 113);
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> lat(45, 60);
    std::uniform_real_distribution<double> lon(133, 150);
    for (int added = 0; added < 1000;) {
        Tpoint p;
        p.x = lat(gen);
        p.y = lon(gen);
        const Tpoint at = geo(p, PAR_map[kMapFarEast], true, 3320);
        if (at.xImg < 0 || at.xImg >= 1880 || at.yImg < 0 || at.yImg >= 3320) {
            continue;
        }
        table.setCell(added % 9, 1 + added / 9,
                      QStringLiteral("%1, %2").arg(p.x, 0, 'f', 6).arg(p.y, 0, 'f', 6));
        ++added;
    }
}

// A click on the grid's check box, on and off in turn, with the other layers as at start-up.
void BM_WindowLayerClick(benchmark::State& state) {
    QStringList errors;
    TmainForm::Hooks hooks;
    hooks.dataDir = kRealData;
    hooks.errorBox = [&](const QString& message) { errors << message; };
    TmainForm form(hooks);
    form.show();
    form.cbHiRes->setChecked(true);
    fillTable(form.StringGrid1->table());
    form.ch1->click();
    const int passes = form.markerPasses();
    for (auto _ : state) {
        form.ch1->click();
    }
    if (!errors.isEmpty()) {
        state.SkipWithError(errors.first().toStdString().c_str());
    } else if (form.markerPasses() - passes != state.iterations() || form.points.num != 1000) {
        state.SkipWithError("a click did not end with the marker pass over 1000 points");
    }
}
BENCHMARK(BM_WindowLayerClick)->UseRealTime()->Unit(benchmark::kMillisecond);

// The window on the real maps with 1000 points on the Far East, its settings as at a first run.
struct BenchWindow {
    explicit BenchWindow(bool hiRes) {
        TmainForm::Hooks hooks;
        hooks.dataDir = kRealData;
        hooks.errorBox = [this](const QString& message) { errors << message; };
        form = std::make_unique<TmainForm>(hooks);
        form->show();
        form->cbHiRes->setChecked(hiRes);
        fillTable(form->StringGrid1->table());
        form->btMapUpd->click();
        QCoreApplication::processEvents();
    }

    // What stops a case: an error box, or a marker pass that did not list the 1000 points.
    bool failed(benchmark::State& state) const {
        if (!errors.isEmpty()) {
            state.SkipWithError(errors.first().toStdString().c_str());
            return true;
        }
        if (form->points.num != 1000) {
            state.SkipWithError("the marker pass did not list the 1000 points");
            return true;
        }
        return false;
    }

    QStringList errors;
    std::unique_ptr<TmainForm> form;
};

// "Использовать карты высокого разрешения" turned on with 1000 points: from the click to the
// large map assembled, marked and shown. Each time anew, as the first time in a run is: it is
// turned off again between the rounds, outside the time. The goal: within 200 ms.
void BM_WindowHiResOn(benchmark::State& state) {
    BenchWindow window(false);
    for (auto _ : state) {
        window.form->cbHiRes->click();
        state.PauseTiming();
        if (!window.form->cbHiRes->isChecked() || window.form->a.Width() != 1880) {
            state.SkipWithError("the large map is not shown");
            break;
        }
        window.form->cbHiRes->click();
        state.ResumeTiming();
    }
    window.failed(state);
}
BENCHMARK(BM_WindowHiResOn)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same in a window just started, the first time: the click comes at once, while the large
// map's files are still being read ahead, or (case 1) after the window has stood for a second.
void BM_WindowHiResOnAtStart(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<BenchWindow>(false);
        if (state.range(0) == 1) {
            QTest::qWait(1000);
        }
        state.ResumeTiming();
        window->form->cbHiRes->click();
        state.PauseTiming();
        const bool shown = window->form->a.Width() == 1880;
        const bool failed = window->failed(state);
        window.reset();
        state.ResumeTiming();
        if (!shown || failed) {
            if (!failed) {
                state.SkipWithError("the large map is not shown");
            }
            break;
        }
    }
}
BENCHMARK(BM_WindowHiResOnAtStart)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A click on a layer's check box, on and off in turn, on the large map with 1000 points at a
// marker size: (layer, size). The goal: every click within 100 ms, at any size.
void BM_WindowLayerToggle(benchmark::State& state) {
    BenchWindow window(true);
    window.form->Edit3->setText(QString::number(state.range(1)));
    QCheckBox* const boxes[] = {window.form->ch1, window.form->ch2, window.form->ch3,
                                window.form->ch4, window.form->ch5};
    QCheckBox* box = boxes[state.range(0)];
    box->click();
    const int passes = window.form->markerPasses();
    for (auto _ : state) {
        box->click();
    }
    if (!window.failed(state) && window.form->markerPasses() - passes != state.iterations()) {
        state.SkipWithError("a click did not end with a marker pass");
    }
}
BENCHMARK(BM_WindowLayerToggle)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {10, 60, 128}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// "Рисунок для статьи…" from the window with 1000 points: from the click to the dialog shown
// with its first preview painted. The goal: within 150 ms.
void BM_FigureDialogOpen(benchmark::State& state) {
    BenchWindow window(false);
    for (auto _ : state) {
        window.form->bFigure->click();
        auto* dialog = window.form->findChild<FigureDialog*>();
        if (dialog == nullptr) {
            state.SkipWithError("no dialog opened");
            break;
        }
        while (dialog->redraws() == 0) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        dialog->pvFigure->repaint();
        state.PauseTiming();
        if (dialog->figure() == nullptr) {
            state.SkipWithError(
                ("the dialog drew no figure: " + dialog->lbError->text()).toStdString().c_str());
            break;
        }
        delete dialog;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    window.failed(state);
}
BENCHMARK(BM_FigureDialogOpen)->UseRealTime()->Unit(benchmark::kMillisecond);

// The figure dialog on the real Far East map with every layer and 1000 points, at the size it
// opens at (a preview of 560 x 620 pixels, less the room of any warnings below it): a change of
// the marker size, from the change, through the pause in which the dialog waits for more
// changes, to the new picture painted in the preview. Case 0 is the whole map, case 1 a crop to
// one province, case 2 the crop with the countries and the regions named and every point
// numbered. The goal: within 150 ms of the change.
void BM_FigureDialogPreview(benchmark::State& state) {
    PointTable table;
    fillTable(table);
    FigureDialog dialog({kRealData, kMapFarEast, {true, true, true, true, true}, &table, {}});
    FigureOptions options = dialog.options();
    options.extent = state.range(0) == 0 ? FigureExtent::WholeMap : FigureExtent::Box;
    options.box = {42.5, 130.5, 48.5, 139.0};
    if (state.range(0) == 2) {
        options.nameCountries = true;
        options.nameDivisions = true;
        options.numbering = PointNumbering::Continuous;
    }
    dialog.setOptions(options);
    dialog.show();
    dialog.redrawNow();
    // Each run starts from the settings the last one left: every change here is a real one.
    const double marker = dialog.edMarker->value();
    bool larger = false;
    for (auto _ : state) {
        const int redraws = dialog.redraws();
        larger = !larger;
        dialog.edMarker->setValue(larger ? marker + 0.5 : marker);
        while (dialog.redraws() == redraws) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (dialog.figure() == nullptr) {
            break;
        }
        dialog.pvFigure->repaint();
    }
    if (dialog.figure() == nullptr) {
        state.SkipWithError(
            ("the dialog drew no figure: " + dialog.lbError->text()).toStdString().c_str());
    }
    state.counters["pause_ms"] = FigureDialog::kRedrawDelayMs;
}
BENCHMARK(BM_FigureDialogPreview)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace zelkora

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    zelkora::CopperTheme::apply(app);
    // The figure dialog remembers its settings: in a folder of the run's own.
    const QTemporaryDir settings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
