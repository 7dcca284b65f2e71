#include "table/myParser.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QStringList>
#include <QStringView>
#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ZelkoraError.h"
#include "table/CommaText.h"
#include "table/CoordFormat.h"
#include "table/StrToFloat.h"

namespace {

// One compiled pattern with its replacement, shared by all calls: UTF mode, every line
// break a newline, \s ASCII only (no PCRE2_UCP).
class Replacement {
  public:
    Replacement(const char* pattern, const char* replacement) : replacement_(replacement) {
        pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
        pcre2_set_newline(context, PCRE2_NEWLINE_ANY);
        pcre2_set_bsr(context, PCRE2_BSR_UNICODE);
        int error = 0;
        PCRE2_SIZE offset = 0;
        code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED,
                              PCRE2_UTF, &error, &offset, context);
        pcre2_compile_context_free(context);
        if (!code_) {
            throw ZelkoraError(QStringLiteral("Ошибка в шаблоне нормализатора координат: %1")
                                   .arg(QString::fromLatin1(pattern)));
        }
        pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);  // falls back to the interpreter
    }
    ~Replacement() { pcre2_code_free(code_); }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // Every match, left to right; an unset group 1 inserts nothing.
    std::string apply(const std::string& subject) const {
        thread_local const std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)>
            matchData(pcre2_match_data_create(4, nullptr), &pcre2_match_data_free);
        // Both replacements only shrink the text, so the subject's length is enough at once.
        std::string out(subject.size() + 1, '\0');
        for (;;) {
            PCRE2_SIZE length = out.size();
            const int rc = pcre2_substitute(
                code_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_UNSET_EMPTY |
                    PCRE2_SUBSTITUTE_OVERFLOW_LENGTH,
                matchData.get(), nullptr, reinterpret_cast<PCRE2_SPTR>(replacement_),
                PCRE2_ZERO_TERMINATED, reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
            if (rc >= 0) {
                out.resize(length);
                return out;
            }
            if (rc != PCRE2_ERROR_NOMEMORY) {
                PCRE2_UCHAR message[256];
                pcre2_get_error_message(rc, message, sizeof message);
                throw ZelkoraError(QStringLiteral("Нормализатор координат не смог разобрать "
                                                  "строку: %1")
                                       .arg(QString::fromUtf8(reinterpret_cast<char*>(message))));
            }
            out.assign(length, '\0');  // length now holds the size needed
        }
    }

  private:
    pcre2_code* code_ = nullptr;
    const char* replacement_;
};

const Replacement& trimBlanks() {
    static const Replacement r("^\\s+|\\s+$|(\\s)\\s+", "$1");
    return r;
}

// Digits, points, vertical bars, white space and the minus signs marked before survive.
const Replacement& blankOthers() {
    static const Replacement r("[^0-9|\\..|\\s-]", " ");
    return r;
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::string_view kMinusSign = "\xE2\x88\x92";  // U+2212 in UTF-8

// A "-" or "−" right before a digit (or a point and a digit) and right after neither a digit
// nor a point is a minus sign, kept as "-". Any other is a dash and becomes a blank, so the
// range "55.670-680" is two numbers rather than one malformed one.
std::string markMinusSigns(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t width = 0;
        if (text[i] == '-') {
            width = 1;
        } else if (text.compare(i, kMinusSign.size(), kMinusSign) == 0) {
            width = kMinusSign.size();
        }
        if (width == 0) {
            out += text[i++];
            continue;
        }
        const std::size_t next = i + width;
        const bool beforeNumber =
            next < text.size() &&
            (isDigit(text[next]) ||
             (text[next] == '.' && next + 1 < text.size() && isDigit(text[next + 1])));
        const bool afterNumber = i > 0 && (isDigit(text[i - 1]) || text[i - 1] == '.');
        out += beforeNumber && !afterNumber ? '-' : ' ';
        i = next;
    }
    return out;
}

// Left to right, a comma between digits is a decimal comma unless the digits before it already
// follow a point: "48,5,135,25" is 48.5 and 135.25, "48.48,135.07" two numbers. Any other comma
// separates and becomes a blank.
void readCommas(std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ',') {
            continue;
        }
        std::size_t start = i;
        while (start > 0 && isDigit(text[start - 1])) {
            --start;
        }
        const bool decimal = start < i && i + 1 < text.size() && isDigit(text[i + 1]) &&
                             !(start > 0 && text[start - 1] == '.');
        text[i] = decimal ? '.' : ' ';
    }
}

// A point with no digit on either side ends an abbreviation ("с. ш.", "N."), not a number.
void blankAbbreviationPoints(std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.' && !(i > 0 && isDigit(text[i - 1])) &&
            !(i + 1 < text.size() && isDigit(text[i + 1]))) {
            text[i] = ' ';
        }
    }
}

// Plain replacement, left to right, never looking again at text it has produced.
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t at = text.find(from);
    if (at == std::string::npos) {
        return;
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (; at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

std::string normalize(const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    std::string text = trimBlanks().apply(std::string(utf8.constData(), utf8.size()));
    text = markMinusSigns(text);
    readCommas(text);
    blankAbbreviationPoints(text);
    text = blankOthers().apply(text);
    replaceAll(text, "..", ".");
    replaceAll(text, ". ", ".");
    replaceAll(text, " .", ".");
    return trimBlanks().apply(text);
}

// A run of letters with its neighbours in the same phrase: the words right before and after
// it when no digit stands between.
struct Word {
    QStringView text;
    QStringView before;
    QStringView after;
    bool digitBefore = false;
};

std::vector<Word> splitWords(QStringView text) {
    std::vector<Word> words;
    bool digit = false;
    for (qsizetype i = 0; i < text.size();) {
        if (!text[i].isLetter()) {
            digit = digit || text[i].isDigit();
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && text[i].isLetter()) {
            ++i;
        }
        Word word;
        word.text = text.sliced(start, i - start);
        word.digitBefore = digit;
        if (!words.empty() && !digit) {
            word.before = words.back().text;
            words.back().after = word.text;
        }
        words.push_back(word);
        digit = false;
    }
    return words;
}

bool isWord(QStringView word, std::initializer_list<QStringView> caselessWords) {
    for (const QStringView w : caselessWords) {
        if (word.compare(w, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

bool startsWithAny(QStringView word, std::initializer_list<QStringView> caselessPrefixes) {
    for (const QStringView p : caselessPrefixes) {
        if (word.startsWith(p, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

constexpr std::initializer_list<QStringView> kLatitudeWords = {u"lat", u"latitude"};
constexpr std::initializer_list<QStringView> kLongitudeWords = {u"lon", u"long", u"lng",
                                                                u"longitude"};

// A hemisphere letter stands alone; "s" is seconds ("49s"), not south.
bool isSouth(const Word& w) {
    return w.text == u"S" || w.text == u"ю" || w.text == u"Ю" || isWord(w.text, {u"south"});
}

bool isWest(const Word& w) {
    return w.text == u"W" || w.text == u"з" || w.text == u"З" || isWord(w.text, {u"west"});
}

enum class Axis { none, latitude, longitude };

bool isLetter(QStringView word, std::initializer_list<QStringView> letters) {
    for (const QStringView letter : letters) {
        if (word == letter) {
            return true;
        }
    }
    return false;
}

// The coordinate a word names, if it names one. A letter names a hemisphere beside a number;
// before a word it abbreviates a region ("E Siberia").
Axis axisOf(const Word& w) {
    const bool letter = w.after.isEmpty();
    if ((letter && isLetter(w.text, {u"N", u"S", u"B", u"ю", u"Ю"})) ||
        (isWord(w.text, {u"с", u"ю"}) && startsWithAny(w.after, {u"ш"})) ||
        isWord(w.text, kLatitudeWords) || isWord(w.text, {u"north", u"south", u"vĩ"}) ||
        startsWithAny(w.text, {u"широт"})) {
        return Axis::latitude;
    }
    if ((letter && isLetter(w.text, {u"E", u"W", u"Đ", u"đ", u"з", u"З"})) ||
        (isWord(w.text, {u"в", u"з"}) && startsWithAny(w.after, {u"д"})) ||
        isWord(w.text, kLongitudeWords) || isWord(w.text, {u"east", u"west", u"kinh"}) ||
        startsWithAny(w.text, {u"долгот"})) {
        return Axis::longitude;
    }
    return Axis::none;
}

// A unit run into the hemisphere letter: "22.8sW", "7mS".
bool isUnitRunIntoHemisphere(QStringView word) {
    if (word.size() < 2 || !(word.endsWith(u'S') || word.endsWith(u'W'))) {
        return false;
    }
    for (const QChar c : word.chopped(1)) {
        if (c != u'd' && c != u'm' && c != u's') {
            return false;
        }
    }
    return true;
}

// A word that says south or west in a way the rules cannot read. Each gives no point rather
// than a point in the wrong hemisphere.
bool isUnreadableHemisphere(const Word& w) {
    // "O" is west in Spanish and French but east (Ost) in German, "T" is Vietnamese Tây (west),
    // "w" is west in lower case, "ЮШ" and "ЗД" run the Russian letters together; the words are
    // south or west in other languages.
    if (w.text == u"O" || w.text == u"T" || w.text == u"w" || isWord(w.text, {u"юш", u"зд"}) ||
        isWord(w.text, {u"sud", u"sur", u"sul", u"süd", u"ouest", u"oeste"})) {
        return true;
    }
    // A place name or a region: "South Korea", "S Primorye", "W. Kamchatka". After a number a
    // letter is a hemisphere even when a name follows ("169°48′33″W Uelen").
    if ((isWord(w.text, {u"south", u"west"}) || (!w.digitBefore && (isSouth(w) || isWest(w)))) &&
        !w.after.isEmpty() && !isWord(w.after, kLatitudeWords) &&
        !isWord(w.after, kLongitudeWords) && !startsWithAny(w.after, {u"ш", u"д"})) {
        return true;
    }
    if (isUnitRunIntoHemisphere(w.text)) {
        return true;
    }
    // "vĩ độ Nam", "kinh độ Tây", "21°01′ Nam", but not "Việt Nam" or "Tây Ninh".
    if ((isWord(w.text, {u"nam"}) && (w.digitBefore || isWord(w.before, {u"vĩ", u"độ"}))) ||
        (isWord(w.text, {u"tây"}) && (w.digitBefore || isWord(w.before, {u"kinh", u"độ"})))) {
        return true;
    }
    // "южной широты", "зап. д.", but not "Южно-Сахалинск".
    return (startsWithAny(w.text, {u"юж"}) && startsWithAny(w.after, {u"ш"})) ||
           (startsWithAny(w.text, {u"зап"}) && startsWithAny(w.after, {u"д"}));
}

// What the words of a line say about the signs of its point.
struct Hemispheres {
    bool south = false;
    bool west = false;
    bool unreadable = false;  // no point rather than a wrong one
    bool named = false;       // some word names latitude or longitude
};

Hemispheres readHemispheres(const QString& line) {
    // Composed, so that a Vietnamese word typed with combining marks is still one word.
    const QString text = line.normalized(QString::NormalizationForm_C);
    Hemispheres h;
    Axis firstAxis = Axis::none;
    bool letterN = false;
    bool letterDong = false;
    bool lowerS = false;
    bool lowerNorE = false;
    for (const Word& w : splitWords(text)) {
        h.south = h.south || isSouth(w);
        h.west = h.west || isWest(w);
        h.unreadable = h.unreadable || isUnreadableHemisphere(w);
        if (firstAxis == Axis::none) {
            firstAxis = axisOf(w);
        }
        letterN = letterN || w.text == u"N";
        letterDong = letterDong || w.text == u"Đ" || w.text == u"đ";
        lowerS = lowerS || w.text == u"s";
        lowerNorE = lowerNorE || w.text == u"n" || w.text == u"e";
    }
    h.named = firstAxis != Axis::none;
    // Longitude named first ("E 12.5 N 41.9", UTM's "E 412345 N 1234512") would be read as
    // latitude. Beside Vietnamese "Đ" (Đông), "N" is Nam: south. Beside a lower-case "n" or
    // "e", "s" is south rather than seconds.
    h.unreadable = h.unreadable || firstAxis == Axis::longitude || (letterN && letterDong) ||
                   (lowerS && lowerNorE);
    return h;
}

constexpr bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// ISO 6709 signs both numbers and runs them together: in "+40.7128-074.0060/" the "-" after a
// digit would be read as a dash and the western longitude as an eastern one.
bool isSignedRunOnPair(QStringView line) {
    const auto isMinus = [](QChar c) { return c == u'-' || c == u'\u2212'; };
    line = line.trimmed();
    if (line.size() < 2 || !(line[0] == u'+' || isMinus(line[0])) || !isAsciiDigit(line[1])) {
        return false;
    }
    for (qsizetype i = 1; i + 1 < line.size(); ++i) {
        if (isMinus(line[i]) && isAsciiDigit(line[i - 1]) && isAsciiDigit(line[i + 1])) {
            return true;
        }
    }
    return false;
}

// A full Open Location Code ("8QVQFCMM+4V"): the digits inside it are no coordinates.
bool isPlusCode(QStringView line) {
    constexpr QStringView kAlphabet = u"23456789CFGHJMPQRVWX";
    qsizetype run = 0;
    bool letter = false;
    for (const QChar c : line) {
        if (c == u'+' && run >= 4 && letter) {
            return true;
        }
        if (kAlphabet.contains(c)) {
            ++run;
            letter = letter || c.isLetter();
        } else {
            run = 0;
            letter = false;
        }
    }
    return false;
}

constexpr double kMaxLatitude = 90;
constexpr double kMaxLongitude = 360;  // the Far East map reaches past 180°

constexpr double limitOf(Axis axis) {
    return axis == Axis::latitude ? kMaxLatitude : kMaxLongitude;
}

constexpr double fromSexagesimal(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60 + seconds / 60 / 60;
}

struct LatLon {
    double lat;
    double lon;
};

// An item's text, which has passed the strict conversion: an optional "-", digits, an optional
// point and digits.
struct ItemParts {
    bool negative = false;
    QStringView digits;
    QStringView decimals;
    bool point = false;
};

ItemParts splitItem(QStringView item) {
    ItemParts parts;
    if (item.startsWith(u'-')) {
        parts.negative = true;
        item = item.sliced(1);
    }
    const qsizetype point = item.indexOf(u'.');
    parts.point = point >= 0;
    parts.digits = parts.point ? item.first(point) : item;
    parts.decimals = parts.point ? item.sliced(point + 1) : QStringView();
    return parts;
}

// Minutes and seconds count only unsigned and below 60.
bool isSexagesimalPart(QStringView item, double value) {
    return !item.startsWith(u'-') && value < 60;
}

// The sign of the degrees item is the sign of the whole coordinate: "-33 30 00" is -33.5.
double signedSexagesimal(QStringView degreesItem, double degrees, double minutes, double seconds) {
    const double magnitude = fromSexagesimal(std::fabs(degrees), minutes, seconds);
    return degreesItem.startsWith(u'-') ? -magnitude : magnitude;
}

// Degrees, minutes and seconds without separators (NMEA, aviation): DDMM and DDMMSS, and for a
// longitude also DDDMM and DDDMMSS. The decimals belong to the last field.
std::optional<double> readBlockNotation(const ItemParts& parts, Axis axis) {
    qsizetype degreeDigits = 2;
    bool seconds = false;
    switch (parts.digits.size()) {
        case 4:
            break;
        case 5:
            degreeDigits = 3;
            break;
        case 6:
            seconds = true;
            break;
        case 7:
            degreeDigits = 3;
            seconds = true;
            break;
        default:
            return std::nullopt;
    }
    if (axis == Axis::latitude && degreeDigits == 3) {
        return std::nullopt;
    }
    const QStringView lastField = parts.digits.last(2);
    const double last =
        StrToFloat(lastField.toString() + QLatin1Char('.') + parts.decimals.toString());
    const double degrees = StrToFloat(parts.digits.first(degreeDigits).toString());
    const double minutes =
        seconds ? StrToFloat(parts.digits.sliced(degreeDigits, 2).toString()) : last;
    const double secondsValue = seconds ? last : 0;
    if (minutes >= 60 || secondsValue >= 60) {
        return std::nullopt;
    }
    const double magnitude = fromSexagesimal(degrees, minutes, secondsValue);
    if (magnitude > limitOf(axis)) {
        return std::nullopt;
    }
    return parts.negative ? -magnitude : magnitude;
}

// One number of a decimal pair. Four or more integer digits that start with 0 or are out of
// range cannot be decimal degrees, so they are read as block notation. Whole numbers only in a
// line that names a hemisphere, as aviation does ("400723N"): bare, "1200-1350" is a range of
// heights and "2019-2020" one of years.
std::optional<double> pairCoordinate(QStringView item, double value, Axis axis, bool named) {
    const ItemParts parts = splitItem(item);
    if (parts.digits.size() >= 4 &&
        (parts.digits.startsWith(u'0') || std::fabs(value) > limitOf(axis))) {
        if (!parts.point && !named) {
            return std::nullopt;
        }
        return readBlockNotation(parts, axis);
    }
    return value;
}

std::optional<LatLon> readPair(const QStringList& items, const std::array<double, 6>& n,
                               bool named) {
    const std::optional<double> lat = pairCoordinate(items[0], n[0], Axis::latitude, named);
    const std::optional<double> lon = pairCoordinate(items[1], n[1], Axis::longitude, named);
    if (!lat || !lon) {
        return std::nullopt;
    }
    return LatLon{*lat, *lon};
}

// Degrees and decimal minutes, as GPS units show them: whole degrees only, since "48.5 30" is
// no notation anyone writes.
std::optional<LatLon> readDegreesMinutes(const QStringList& items, const std::array<double, 6>& n) {
    if (splitItem(items[0]).point || splitItem(items[2]).point ||
        !isSexagesimalPart(items[1], n[1]) || !isSexagesimalPart(items[3], n[3])) {
        return std::nullopt;
    }
    return LatLon{signedSexagesimal(items[0], n[0], n[1], 0),
                  signedSexagesimal(items[2], n[2], n[3], 0)};
}

std::optional<LatLon> readDegreesMinutesSeconds(const QStringList& items,
                                                const std::array<double, 6>& n) {
    for (const int part : {1, 2, 4, 5}) {
        if (!isSexagesimalPart(items[part], n[static_cast<std::size_t>(part)])) {
            return std::nullopt;
        }
    }
    return LatLon{signedSexagesimal(items[0], n[0], n[1], n[2]),
                  signedSexagesimal(items[3], n[3], n[4], n[5])};
}

}  // namespace

QString normalizeCoordinateText(const QString& s) {
    return QString::fromLatin1(normalize(s));
}

QString myParser(const QString& s) {
    const QStringList items = SplitCommaText(normalizeCoordinateText(s));
    const qsizetype count = items.size();
    if (count != 2 && count != 4 && count != 6) {
        return {};
    }
    // Converted strictly in item order, so the first bad item is the one reported.
    std::array<double, 6> n{};
    for (qsizetype i = 0; i < count; ++i) {
        n[static_cast<std::size_t>(i)] = StrToFloat(items[i]);
    }
    const Hemispheres hemispheres = readHemispheres(s);
    std::optional<LatLon> point;
    if (count == 2) {
        point = readPair(items, n, hemispheres.named);
    } else if (count == 4) {
        point = readDegreesMinutes(items, n);
    } else {
        point = readDegreesMinutesSeconds(items, n);
    }
    if (!point || hemispheres.unreadable || isSignedRunOnPair(s) || isPlusCode(s)) {
        return {};
    }
    if (hemispheres.south) {
        point->lat = -std::fabs(point->lat);
    }
    if (hemispheres.west) {
        point->lon = -std::fabs(point->lon);
    }
    // Also refuses an infinite sum: beyond these a value is no coordinate.
    if (!(std::fabs(point->lat) <= kMaxLatitude) || !(std::fabs(point->lon) <= kMaxLongitude)) {
        return {};
    }
    return formatCoordinate(point->lat) + QStringLiteral(", ") + formatCoordinate(point->lon);
}
