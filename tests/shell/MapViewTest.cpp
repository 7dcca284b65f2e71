// The map view: where the pointer is, which cell a marker came from, what the point cap left
// off, and a close that ends the work at once.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "mapimage/DataPaths.h"
#include "projection/geo.h"
#include "shell/PictureView.h"
#include "shell/StringGrid.h"
#include "table/PointTable.h"
#include "tests/shell/ShellFixture.h"

namespace zelkora {

namespace {

class MapViewTest : public ShellTest {
  protected:
    // Where a picture pixel's centre is shown in the view.
    QPoint viewPosition(QPoint pixel) const {
        const PictureView& view = *form_->Image1;
        const double scale = double(view.shownSize().width()) / view.picture().Width();
        return {static_cast<int>((pixel.x() + 0.5) * scale),
                static_cast<int>((pixel.y() + 0.5) * scale)};
    }

    // The picture pixel of a point on the fixture's map of the Far East.
    static QPoint pixelOf(double lat, double lon) {
        const Tpoint p = geo(Tpoint{0, lat, lon, 0, 0}, PAR_map[kMapFarEast], false, 2000);
        return {static_cast<int>(p.xImg), static_cast<int>(p.yImg)};
    }
};

// The readout's latitude and longitude lie in the picture's pixel under the pointer.
TEST_F(MapViewTest, PointerShowsTheLatitudeAndLongitudeUnderIt) {
    TmainForm& form = open();
    for (const auto& [lat, lon] : {std::pair(48.5, 135.25), std::pair(62.0, 170.0)}) {
        SCOPED_TRACE(lat);
        const QPoint at = viewPosition(pixelOf(lat, lon));
        const QPoint pixel = form.Image1->pixelAt(at).value_or(QPoint(-1, -1));
        ASSERT_LE((pixel - pixelOf(lat, lon)).manhattanLength(), 6);  // a view pixel is 2.6
        QTest::mouseMove(form.Image1, at);
        ASSERT_TRUE(form.lbCoords->isVisible());
        const QStringList shown = form.lbCoords->text().split(QStringLiteral(", "));
        ASSERT_EQ(shown.size(), 2);
        EXPECT_EQ(shown[0].section(QLatin1Char('.'), 1).size(), 4);
        EXPECT_NEAR(shown[0].toDouble(), lat, 0.15);
        EXPECT_NEAR(shown[1].toDouble(), lon, 0.15);
        EXPECT_EQ(pixelOf(shown[0].toDouble(), shown[1].toDouble()), pixel);
    }
    QTest::mouseMove(form.Image1, QPoint(form.Image1->width() - 2, 10));  // right of the map
    EXPECT_FALSE(form.lbCoords->isVisible());
}

TEST_F(MapViewTest, ClickOnAMarkerChoosesItsCell) {
    TmainForm& form = open();
    PointTable& table = form.StringGrid1->table();
    form.changeTable(QStringLiteral("t"), [](PointTable& t) {
        t.setCell(2, 1, QStringLiteral("48.5, 135.25"));
        t.setCell(6, 3, QStringLiteral("55, 140"));
        t.setCell(6, 7, QStringLiteral("48.5, 135.25"));  // the same place, drawn on top
    });
    ASSERT_EQ(form.points.num, 3);
    form.edX->setFocus();
    struct Case {
        double lat, lon;
        int col, row;
    };
    for (const Case& c : {Case{55, 140, 6, 3}, Case{48.5, 135.25, 6, 7}}) {
        QTest::mouseClick(form.Image1, Qt::LeftButton, {}, viewPosition(pixelOf(c.lat, c.lon)));
        EXPECT_EQ(form.StringGrid1->currentIndex(), table.index(c.row, c.col));
        EXPECT_TRUE(form.StringGrid1->hasFocus());
    }
    // Where there is no marker the table stays as it was.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, viewPosition(pixelOf(60, 160)));
    EXPECT_EQ(form.StringGrid1->currentIndex(), table.index(7, 6));
}

// Beyond 1000 points the window says how many were left off and from which columns, and says
// nothing once they fit again.
TEST_F(MapViewTest, PointCapIsShown) {
    TmainForm& form = open();
    // Columns 0 to 7 with 125 points each make 1000; column 8 brings 30 more.
    form.changeTable(QStringLiteral("t"), [](PointTable& t) {
        t.setShape(9, 131);
        for (int col = 0; col < 9; ++col) {
            for (int row = 1; row <= (col < 8 ? 125 : 30); ++row) {
                t.setCell(col, row, QStringLiteral("50, 140"));
            }
        }
        t.setCell(7, 130, QStringLiteral("50, 140"));
    });
    ASSERT_EQ(form.points.num, 1000);
    EXPECT_TRUE(form.lbCap->isVisible());
    EXPECT_EQ(form.lbCap->text(),
              QStringLiteral("На карте только первые 1000 точек из 1031 на ней: не нанесены 31, из "
                             "столбцов «ромбы полые» (1), «звездочки.» (30)."));
    EXPECT_LE(form.lbCap->geometry().bottom(), form.Image1->height());

    form.changeTable(QStringLiteral("t"), [](PointTable& t) { t.setShape(8, 126); });
    EXPECT_EQ(form.points.num, 1000);
    EXPECT_FALSE(form.lbCap->isVisible());
}

// Closed while an assembly gives the event loop a turn, the window ends the assembly there:
// nothing more is blended, drawn or run afterwards.
TEST_F(MapViewTest, CloseEndsTheRunningWork) {
    TmainForm& form = open();
    const TPngImage before = form.a;
    const int passes = form.markerPasses();
    QTimer::singleShot(0, &form, [&] {
        QTest::mouseClick(form.cbRedPoint, Qt::LeftButton);  // a pass that waits
        form.close();
    });
    QTest::mouseClick(form.ch3, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.a, before);
    EXPECT_EQ(form.markerPasses(), passes);
    EXPECT_FALSE(form.pnLoad->isVisible());
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

}  // namespace

}  // namespace zelkora
