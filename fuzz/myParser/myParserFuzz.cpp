// The coordinate normaliser on any line. It gives nothing or a point in range written as
// "lat, lon" with six decimals each, which normalises to itself; it throws nothing.
#include <QRegularExpression>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz/support/FuzzInput.h"
#include "table/StrToFloat.h"
#include "table/myParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    const QString line = fuzzText(data, size);
    QString result;
    try {
        result = myParser(line);
    } catch (...) {
        fuzzFailure("an error: every line gives a point or none");
    }
    if (result.isEmpty()) {
        return 0;
    }
    static const QRegularExpression kCell(
        QStringLiteral("^(-?[0-9]+\\.[0-9]{6}), (-?[0-9]+\\.[0-9]{6})$"));
    const QRegularExpressionMatch match = kCell.match(result);
    if (!match.hasMatch()) {
        fuzzFailure("a point not written as \"lat, lon\" with six decimals");
    }
    const double lat = StrToFloat(match.captured(1));
    const double lon = StrToFloat(match.captured(2));
    if (!(std::fabs(lat) <= 90) || !(std::fabs(lon) <= 360)) {
        fuzzFailure("a point out of range");
    }
    if (myParser(result) != result) {
        fuzzFailure("a point cell does not normalise to itself");
    }
    return 0;
}
