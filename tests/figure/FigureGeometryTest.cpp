// The pieces under the figure's drawing: cutting lines and rings to the frame, and the words of
// its labels.
#include <gtest/gtest.h>

#include "figure/Graticule.h"
#include "figure/PathClip.h"

namespace zelkora {

namespace {

const QRectF kRect(0, 0, 10, 10);

TEST(ClipPolyline, KeepsThePiecesInsideTheRectangle) {
    struct Case {
        const char* name;
        QPolygonF line;
        std::vector<QPolygonF> pieces;
    };
    const Case cases[] = {
        {"inside", QPolygonF({{1, 1}, {5, 5}, {9, 2}}), {QPolygonF({{1, 1}, {5, 5}, {9, 2}})}},
        {"outside", QPolygonF({{-5, -5}, {-1, 20}, {20, 20}}), {}},
        {"through", QPolygonF({{-5, 5}, {15, 5}}), {QPolygonF({{0, 5}, {10, 5}})}},
        {"out and back in",
         QPolygonF({{5, 5}, {5, 15}, {8, 15}, {8, 5}}),
         {QPolygonF({{5, 5}, {5, 10}}), QPolygonF({{8, 10}, {8, 5}})}},
        {"corner to corner", QPolygonF({{-1, -1}, {11, 11}}), {QPolygonF({{0, 0}, {10, 10}})}},
    };
    for (const Case& c : cases) {
        std::vector<QPolygonF> pieces;
        clipPolyline(c.line, kRect, pieces);
        EXPECT_EQ(pieces, c.pieces) << c.name;
    }
}

TEST(ClipRing, KeepsTheAreaInsideTheRectangle) {
    struct Case {
        const char* name;
        QPolygonF ring;
        double area;
    };
    const auto area = [](const QPolygonF& p) {
        double a = 0;
        for (qsizetype i = 0; i < p.size(); ++i) {
            const QPointF u = p[i];
            const QPointF v = p[(i + 1) % p.size()];
            a += u.x() * v.y() - v.x() * u.y();
        }
        return std::fabs(a) / 2;
    };
    const Case cases[] = {
        {"inside", QPolygonF({{1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, 1}}), 9},
        {"around", QPolygonF({{-5, -5}, {15, -5}, {15, 15}, {-5, 15}}), 100},
        {"half over the edge", QPolygonF({{5, 2}, {15, 2}, {15, 6}, {5, 6}}), 20},
        {"outside", QPolygonF({{20, 20}, {30, 20}, {30, 30}}), 0},
        {"a triangle over a corner", QPolygonF({{-10, 5}, {5, -10}, {5, 5}}), 25 - 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(area(clipRing(c.ring, kRect)), c.area, 1e-9) << c.name;
    }
}

TEST(Thinned, DropsPointsCloserThanTheToleranceButKeepsBothEnds) {
    const QPolygonF line({{0, 0}, {0.1, 0}, {0.2, 0}, {1, 0}, {1.05, 0}, {1.1, 0}});
    EXPECT_EQ(thinned(line, 0.5), QPolygonF({{0, 0}, {1, 0}, {1.1, 0}}));
    EXPECT_EQ(thinned(line, 0.0), line);
}

TEST(Labels, NameTheDegreesInTheFiguresLanguage) {
    struct Case {
        double degrees;
        bool latitude;
        const char* english;
        const char* russian;
    };
    const Case cases[] = {
        {45, true, "45°N", "45° с.ш."},
        {-10, true, "10°S", "10° ю.ш."},
        {0, true, "0°", "0°"},
        {130, false, "130°E", "130° в.д."},
        {190, false, "170°W", "170° з.д."},
        {-170, false, "170°W", "170° з.д."},
        {180, false, "180°", "180°"},
        {0, false, "0°", "0°"},
        {-60, false, "60°W", "60° з.д."},
        {360 + 105, false, "105°E", "105° в.д."},
    };
    for (const Case& c : cases) {
        const auto label = [&](FigureLanguage language) {
            return c.latitude ? latitudeLabel(c.degrees, language)
                              : longitudeLabel(c.degrees, language);
        };
        EXPECT_EQ(label(FigureLanguage::English), QString::fromUtf8(c.english)) << c.degrees;
        EXPECT_EQ(label(FigureLanguage::Russian), QString::fromUtf8(c.russian)) << c.degrees;
    }
}

TEST(GraticuleInterval, SuitsTheExtent) {
    struct Case {
        GeoRange range;
        int interval;
    };
    const Case cases[] = {
        {{44.0, 46.0, 132.0, 135.5}, 1},
        {{42.0, 50.0, 128.0, 141.0}, 2},
        {{7.9, 24.1, 101.0, 112.0}, 5},
        {{36.8, 80.2, 114.5, 193.7}, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(graticuleInterval(c.range), c.interval) << c.range.south << " " << c.range.east;
    }
}

}  // namespace

}  // namespace zelkora
