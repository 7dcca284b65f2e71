#pragma once

#include <QString>
#include <span>

#include "coordtext/Reading.h"

namespace zelkora {

// One line and what the normaliser must make of it: its point to 1e-6°, or no point for the
// reason given.
struct LineCase {
    const char* why;
    const char16_t* line;
    bool read;
    double lat = 0;
    double lon = 0;
    NoPointReason reason = NoPointReason::noCoordinates;
    bool anyReason = false;  // no point, whatever the reason
};

inline LineCase point(const char* why, const char16_t* line, double lat, double lon) {
    return {why, line, true, lat, lon, NoPointReason::noCoordinates};
}

inline LineCase none(const char* why, const char16_t* line, NoPointReason reason) {
    return {why, line, false, 0, 0, reason};
}

inline LineCase noneOf(const char* why, const char16_t* line) {
    return {why, line, false, 0, 0, NoPointReason::noCoordinates, true};
}

constexpr double dms(double degrees, double minutes, double seconds = 0) {
    return degrees + minutes / 60 + seconds / 3600;
}

void expectLines(std::span<const LineCase> cases);

}  // namespace zelkora
