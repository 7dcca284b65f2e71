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

// Under a degree, labels read degrees and whole minutes, two digits of them.
TEST(Labels, ReadDegreesAndMinutesWhenAsked) {
    struct Case {
        double degrees;
        bool latitude;
        const char* english;
        const char* russian;
    };
    const Case cases[] = {
        {43.5, true, "43°30′N", "43°30′ с.ш."},
        {43.0, true, "43°00′N", "43°00′ с.ш."},
        {10.0 + 5.0 / 60, true, "10°05′N", "10°05′ с.ш."},
        {131.0 + 50.0 / 60, false, "131°50′E", "131°50′ в.д."},
        {189.75, false, "170°15′W", "170°15′ з.д."},
        {180, false, "180°00′", "180°00′"},
        {0, true, "0°00′", "0°00′"},
    };
    for (const Case& c : cases) {
        const auto label = [&](FigureLanguage language) {
            return c.latitude ? latitudeLabel(c.degrees, language, true)
                              : longitudeLabel(c.degrees, language, true);
        };
        EXPECT_EQ(label(FigureLanguage::English), QString::fromUtf8(c.english)) << c.degrees;
        EXPECT_EQ(label(FigureLanguage::Russian), QString::fromUtf8(c.russian)) << c.degrees;
    }
}

// Douglas and Peucker's rule keeps a corner farther than the tolerance and drops the bumps
// nearer, counting longitudes by the cosine of the latitude.
TEST(Simplified, KeepsWhatIsFartherThanTheTolerance) {
    const QPolygonF line({{0, 0}, {1, 0.05}, {2, 0}, {3, 1}, {4, 0}});
    EXPECT_EQ(simplified(line, 0.1), QPolygonF({{0, 0}, {2, 0}, {3, 1}, {4, 0}}));
    EXPECT_EQ(simplified(line, 0.01), line);
    // A degree of longitude at 60° is half as long: the bump of 0.05 there is no corner.
    const QPolygonF wide({{0, 0}, {1, 0.3}, {2, 0}});
    EXPECT_EQ(simplified(wide, 0.2, 0.5).size(), 3);
    EXPECT_EQ(simplified(QPolygonF({{0, 0}, {0.5, 0.3}, {1, 0}}), 0.2, 0.5).size(), 3);
    EXPECT_EQ(simplified(QPolygonF({{0, 0}, {0.5, 0.1}, {1, 0}}), 0.2, 0.5).size(), 2);
}

}  // namespace

}  // namespace zelkora
