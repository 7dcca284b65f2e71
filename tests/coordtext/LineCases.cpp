#include "tests/coordtext/LineCases.h"

#include <gtest/gtest.h>

#include "coordtext/Normaliser.h"

namespace zelkora {

void expectLines(std::span<const LineCase> cases) {
    for (const LineCase& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(std::string(c.why) + ": " + line.toStdString());
        const LineReading reading = readPointLine(line);
        if (!c.read) {
            EXPECT_FALSE(reading.point.has_value())
                << reading.point->lat << ", " << reading.point->lon;
            if (!c.anyReason) {
                EXPECT_EQ(static_cast<int>(reading.reason), static_cast<int>(c.reason))
                    << "given: " << noPointReasonText(reading.reason).toStdString();
            }
            continue;
        }
        ASSERT_TRUE(reading.point.has_value()) << noPointReasonText(reading.reason).toStdString();
        EXPECT_NEAR(reading.point->lat, c.lat, 1e-6);
        EXPECT_NEAR(reading.point->lon, c.lon, 1e-6);
    }
}

}  // namespace zelkora
