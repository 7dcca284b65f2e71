#include "coordtext/Normaliser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "coordtext/BareNumberReader.h"
#include "coordtext/BlockReader.h"
#include "coordtext/ColonReader.h"
#include "coordtext/DottedReader.h"
#include "coordtext/GeoJsonReader.h"
#include "coordtext/GeoUriReader.h"
#include "coordtext/Iso6709Reader.h"
#include "coordtext/KmlReader.h"
#include "coordtext/LetterInsideReader.h"
#include "coordtext/MapLinkReader.h"
#include "coordtext/MarkedReader.h"
#include "coordtext/NmeaReader.h"
#include "coordtext/NumberParts.h"
#include "coordtext/PointSolver.h"
#include "coordtext/ShipReportReader.h"
#include "coordtext/Tokenizer.h"
#include "coordtext/WktReader.h"

namespace zelkora {

QString noPointReasonText(NoPointReason reason) {
    switch (reason) {
        case NoPointReason::noCoordinates:
            return QStringLiteral("в строке нет координат");
        case NoPointReason::oneAxis:
            return QStringLiteral("в строке только одна координата, нужны широта и долгота");
        case NoPointReason::badNumbers:
            return QStringLiteral("числа не складываются в координаты");
        case NoPointReason::outOfRange:
            return QStringLiteral("широта больше 90° или долгота больше 360°");
        case NoPointReason::sameAxisTwice:
            return QStringLiteral("две широты или две долготы");
        case NoPointReason::unreadableLetter:
            return QStringLiteral(
                "полушарие не понять: буква значит разное в разных языках "
                "(O, V, N рядом с Đ), и карта не решает");
        case NoPointReason::ambiguousLetter:
            return QStringLiteral("буква полушария может относиться к двум числам");
        case NoPointReason::range:
            return QStringLiteral("в строке диапазон или выбор значений");
        case NoPointReason::severalPoints:
            return QStringLiteral("в строке разные точки");
        case NoPointReason::badChecksum:
            return QStringLiteral("строка NMEA с неверной контрольной суммой или без решения");
        case NoPointReason::tooLong:
            return QStringLiteral("строка слишком длинная");
        case NoPointReason::noEvidence:
            return QStringLiteral(
                "числа без признаков координат (знаков градусов, букв "
                "полушарий), а в строке есть и другие числа или слова");
        case NoPointReason::unknownWord:
            return QStringLiteral("после чисел незнакомое слово: оно может означать полушарие");
    }
    return {};
}

QString notationName(Notation notation) {
    switch (notation) {
        case Notation::decimalDegrees:
            return QStringLiteral("десятичные градусы");
        case Notation::degreesMinutes:
            return QStringLiteral("градусы и минуты");
        case Notation::degreesMinutesSeconds:
            return QStringLiteral("градусы, минуты и секунды");
        case Notation::runTogether:
            return QStringLiteral("слитно (ГГММСС)");
        case Notation::colons:
            return QStringLiteral("через двоеточие");
        case Notation::points:
            return QStringLiteral("через точки");
        case Notation::nmea:
            return QStringLiteral("NMEA");
        case Notation::shipReport:
            return QStringLiteral("судовое донесение");
        case Notation::kml:
            return QStringLiteral("KML");
        case Notation::geoJson:
            return QStringLiteral("GeoJSON");
        case Notation::wkt:
            return QStringLiteral("WKT");
        case Notation::geoUri:
            return QStringLiteral("geo:");
        case Notation::mapLink:
            return QStringLiteral("ссылка на карту");
        case Notation::iso6709:
            return QStringLiteral("ISO 6709");
    }
    return {};
}

bool isBlankLine(QStringView line) {
    for (const QChar c : line) {
        if (!c.isSpace() && c != u'\u200B' && c != u'\uFEFF') {
            return false;
        }
    }
    return true;
}

namespace {

// Formats that fix the order themselves come first and claim their characters; then the
// notations of single coordinates.
constexpr std::size_t kFormatReaders = 9;

const std::array<const NotationReader*, 14>& readers() {
    static const NmeaReader nmea;
    static const KmlReader kml;
    static const GeoJsonReader geoJson;
    static const WktReader wkt;
    static const GeoUriReader geoUri;
    static const MapLinkReader mapLink;
    static const Iso6709Reader iso6709;
    static const ShipReportReader shipReport;
    static const LetterInsideReader letterInside;
    static const MarkedReader marked;
    static const BlockReader block;
    static const ColonReader colon;
    static const DottedReader dotted;
    static const BareNumberReader bare;
    static const std::array<const NotationReader*, 14> all = {
        &nmea,       &kml,          &geoJson, &wkt,   &geoUri, &mapLink, &iso6709,
        &shipReport, &letterInside, &marked,  &block, &colon,  &dotted,  &bare};
    return all;
}

}  // namespace

LinePoints readLinePoints(QStringView text, const MapCheck& onMap) {
    thread_local ReadingLine line;
    thread_local Findings found;
    LinePoints result;
    tokenize(text, line.tokens);
    if (line.tokens.tooLong) {
        result.reason = NoPointReason::tooLong;
        return result;
    }
    line.evidence.reset(line.tokens);
    found.clear();
    const auto& all = readers();
    // The formats claim their characters first; then the evidence weighs what is left, and the
    // notations of one coordinate read the numbers it leaves them.
    for (std::size_t k = 0; k < kFormatReaders; ++k) {
        all[k]->read(line, found);
    }
    line.evidence.weigh(line.tokens);
    findNumberParts(line.tokens, line.evidence, line.parts);
    for (std::size_t k = kFormatReaders; k < all.size(); ++k) {
        all[k]->read(line, found);
    }
    solvePoints(line, found, onMap, result);
    return result;
}

LineReading readPointLine(QStringView text) {
    LinePoints points = readLinePoints(text);
    if (points.points.size() == 1) {
        return {std::move(points.points.front()), NoPointReason::noCoordinates};
    }
    return {std::nullopt, points.points.empty() ? points.reason : NoPointReason::severalPoints};
}

}  // namespace zelkora
