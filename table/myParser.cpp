#include "table/myParser.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QStringView>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/ZelkoraError.h"
#include "table/CoordFormat.h"
#include "table/StrToFloat.h"

namespace zelkora {

namespace {

// One compiled pattern with its replacement, shared by all calls: UTF mode, every line break a
// newline, \s ASCII only (no PCRE2_UCP). Every match is replaced, left to right, in place: each
// replacement is one character, never longer than its match, so the text is rewritten behind the
// point where matching goes on, and neither pattern looks back. A long line costs no second copy.
class Replacement {
  public:
    enum class With { group1, blank };

    Replacement(const char* pattern, With with) : with_(with) {
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
        // "\\s+$" tries every blank of a run before it gives up, and a pasted line may hold
        // millions of them: the default limit would reject a valid line.
        matchContext_ = pcre2_match_context_create(nullptr);
        pcre2_set_match_limit(matchContext_, UINT32_MAX);
        pcre2_set_heap_limit(matchContext_, UINT32_MAX);
    }
    ~Replacement() {
        pcre2_match_context_free(matchContext_);
        pcre2_code_free(code_);
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // An unset group 1 inserts nothing.
    void apply(std::string& text) const {
        thread_local const std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)>
            matchData(pcre2_match_data_create(4, nullptr), &pcre2_match_data_free);
        const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
        std::size_t read = 0;  // the first byte not yet copied
        std::size_t write = 0;
        std::uint32_t options = 0;
        for (;;) {
            const int rc = pcre2_match(code_, subject, text.size(), read, options, matchData.get(),
                                       matchContext_);
            options = PCRE2_NO_UTF_CHECK;  // checked once, and only what is behind gets changed
            if (rc == PCRE2_ERROR_NOMATCH) {
                break;
            }
            if (rc < 0) {
                PCRE2_UCHAR message[256];
                pcre2_get_error_message(rc, message, sizeof message);
                throw ZelkoraError(QStringLiteral("Нормализатор координат не смог разобрать "
                                                  "строку: %1")
                                       .arg(QString::fromUtf8(reinterpret_cast<char*>(message))));
            }
            const PCRE2_SIZE* match = pcre2_get_ovector_pointer(matchData.get());
            std::memmove(text.data() + write, text.data() + read, match[0] - read);
            write += match[0] - read;
            if (with_ == With::blank) {
                text[write++] = ' ';
            } else if (rc > 1 && match[2] != PCRE2_UNSET) {
                text[write++] = text[match[2]];  // group 1 is one white-space character
            }
            read = match[1];
        }
        std::memmove(text.data() + write, text.data() + read, text.size() - read);
        text.resize(write + (text.size() - read));
    }

  private:
    pcre2_code* code_ = nullptr;
    pcre2_match_context* matchContext_ = nullptr;
    With with_;
};

const Replacement& trimBlanks() {
    static const Replacement r("^\\s+|\\s+$|(\\s)\\s+", Replacement::With::group1);
    return r;
}

// Digits, points, vertical bars, white space and the minus signs marked before survive.
const Replacement& blankOthers() {
    static const Replacement r("[^0-9|\\..|\\s-]", Replacement::With::blank);
    return r;
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A "-" right before a digit (or a point and a digit) and right after neither a digit nor a
// point is a minus sign, kept as "-". Any other is a dash and becomes a blank, so the range
// "55.670-680" is two numbers rather than one malformed one.
void markMinusSigns(std::string& text) {
    char before = '\0';  // the character before, as it was
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-') {
            const std::size_t next = i + 1;
            const bool beforeNumber =
                next < text.size() &&
                (isDigit(text[next]) ||
                 (text[next] == '.' && next + 1 < text.size() && isDigit(text[next + 1])));
            const bool afterNumber = isDigit(before) || before == '.';
            text[i] = beforeNumber && !afterNumber ? '-' : ' ';
        }
        before = c;
    }
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

// Plain replacement by one character, left to right, never looking again at text it has
// produced. In place: the text only shrinks.
void replaceAll(std::string& text, std::string_view from, char to) {
    std::size_t read = 0;
    std::size_t write = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, read)) {
        std::memmove(text.data() + write, text.data() + read, at - read);
        write += at - read;
        text[write++] = to;
        read = at + from.size();
    }
    std::memmove(text.data() + write, text.data() + read, text.size() - read);
    text.resize(write + (text.size() - read));
}

constexpr char16_t kMinusSign = u'\u2212';
// Any character the steps neither keep nor read as white space, a digit, a point, a comma or a
// minus sign: until step 3 blanks it, only that matters about it.
constexpr char kOtherCharacter = '\x01';

// The line as the steps need it, one byte a character: ASCII as it is, the minus sign U+2212 as
// "-" (the steps treat both alike), and every other character as kOtherCharacter. The line
// breaks NEL, LS and PS stay as UTF-8, since "$" matches before them. So a long line costs at
// most one byte a character.
std::string compactLine(QStringView s) {
    std::string text;
    text.reserve(static_cast<std::size_t>(s.size()));
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c == kMinusSign) {
            text += '-';
        } else if (c == u'\u0085') {
            text += "\xC2\x85";
        } else if (c == u'\u2028' || c == u'\u2029') {
            text += c == u'\u2028' ? "\xE2\x80\xA8" : "\xE2\x80\xA9";
        } else {
            text += kOtherCharacter;
            if (QChar::isHighSurrogate(c) && i + 1 < n && s[i + 1].isLowSurrogate()) {
                ++i;  // one character in two code units
            }
        }
    }
    return text;
}

std::string normalize(QStringView s) {
    std::string text = compactLine(s);
    trimBlanks().apply(text);
    markMinusSigns(text);
    readCommas(text);
    blankAbbreviationPoints(text);
    blankOthers().apply(text);
    replaceAll(text, "..", '.');
    replaceAll(text, ". ", '.');
    replaceAll(text, " .", '.');
    trimBlanks().apply(text);
    return text;
}

// Up to seven items of the normalised text, the runs between white space; a count of seven
// stands for more than six. Many items give no point, so they are never all kept.
int splitItems(std::string_view text, std::array<std::string_view, 7>& items) {
    int count = 0;
    std::size_t i = 0;
    while (count < 7) {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) {
            ++i;
        }
        if (i == text.size()) {
            break;
        }
        const std::size_t start = i;
        while (i < text.size() && static_cast<unsigned char>(text[i]) > 32) {
            ++i;
        }
        items[static_cast<std::size_t>(count++)] = text.substr(start, i - start);
    }
    return count;
}

// A run of letters with its neighbours in the same phrase: the words right before and after
// it when no digit stands between.
struct Word {
    QStringView text;
    QStringView before;
    QStringView after;
    bool digitBefore = false;
};

// Visits the words in order, each once the word after it is known: a line of many words costs
// no list of them.
template <typename Visit>
void forEachWord(QStringView text, Visit visit) {
    std::optional<Word> pending;
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
        if (pending) {
            if (!digit) {
                word.before = pending->text;
                pending->after = word.text;
            }
            visit(*pending);
        }
        pending = word;
        digit = false;
    }
    if (pending) {
        visit(*pending);
    }
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

// Below U+0300, where the combining marks start, every text is already composed.
bool mayNeedComposing(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x300) {
            return true;
        }
    }
    return false;
}

Hemispheres readHemispheres(QStringView line) {
    // Composed, so that a Vietnamese word typed with combining marks is still one word. A copy
    // only where composing may change something.
    QString composed;
    if (mayNeedComposing(line)) {
        composed = line.toString().normalized(QString::NormalizationForm_C);
    }
    const QStringView text = composed.isNull() ? line : QStringView(composed);
    Hemispheres h;
    Axis firstAxis = Axis::none;
    bool letterN = false;
    bool letterDong = false;
    bool lowerS = false;
    bool lowerNorE = false;
    forEachWord(text, [&](const Word& w) {
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
    });
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
    std::string_view digits;
    std::string_view decimals;
    bool point = false;
};

using Items = std::array<std::string_view, 7>;

ItemParts splitItem(std::string_view item) {
    ItemParts parts;
    if (item.starts_with('-')) {
        parts.negative = true;
        item.remove_prefix(1);
    }
    const std::size_t point = item.find('.');
    parts.point = point != std::string_view::npos;
    parts.digits = item.substr(0, point);
    parts.decimals = parts.point ? item.substr(point + 1) : std::string_view();
    return parts;
}

// Minutes and seconds count only unsigned and below 60.
bool isSexagesimalPart(std::string_view item, double value) {
    return !item.starts_with('-') && value < 60;
}

// The sign of the degrees item is the sign of the whole coordinate: "-33 30 00" is -33.5.
double signedSexagesimal(std::string_view degreesItem, double degrees, double minutes,
                         double seconds) {
    const double magnitude = fromSexagesimal(std::fabs(degrees), minutes, seconds);
    return degreesItem.starts_with('-') ? -magnitude : magnitude;
}

// Degrees, minutes and seconds without separators (NMEA, aviation): DDMM and DDMMSS, and for a
// longitude also DDDMM and DDDMMSS. The decimals belong to the last field.
std::optional<double> readBlockNotation(const ItemParts& parts, Axis axis) {
    std::size_t degreeDigits = 2;
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
    const std::string lastField = std::string(parts.digits.substr(parts.digits.size() - 2)) + '.' +
                                  std::string(parts.decimals);
    const double last = StrToFloat(lastField);
    const double degrees = StrToFloat(parts.digits.substr(0, degreeDigits));
    const double minutes = seconds ? StrToFloat(parts.digits.substr(degreeDigits, 2)) : last;
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
std::optional<double> pairCoordinate(std::string_view item, double value, Axis axis, bool named) {
    const ItemParts parts = splitItem(item);
    if (parts.digits.size() >= 4 &&
        (parts.digits.starts_with('0') || std::fabs(value) > limitOf(axis))) {
        if (!parts.point && !named) {
            return std::nullopt;
        }
        return readBlockNotation(parts, axis);
    }
    return value;
}

std::optional<LatLon> readPair(const Items& items, const std::array<double, 6>& n, bool named) {
    const std::optional<double> lat = pairCoordinate(items[0], n[0], Axis::latitude, named);
    const std::optional<double> lon = pairCoordinate(items[1], n[1], Axis::longitude, named);
    if (!lat || !lon) {
        return std::nullopt;
    }
    return LatLon{*lat, *lon};
}

// Degrees and decimal minutes, as GPS units show them: whole degrees only, since "48.5 30" is
// no notation anyone writes.
std::optional<LatLon> readDegreesMinutes(const Items& items, const std::array<double, 6>& n) {
    if (splitItem(items[0]).point || splitItem(items[2]).point ||
        !isSexagesimalPart(items[1], n[1]) || !isSexagesimalPart(items[3], n[3])) {
        return std::nullopt;
    }
    return LatLon{signedSexagesimal(items[0], n[0], n[1], 0),
                  signedSexagesimal(items[2], n[2], n[3], 0)};
}

std::optional<LatLon> readDegreesMinutesSeconds(const Items& items,
                                                const std::array<double, 6>& n) {
    for (const std::size_t part : {1, 2, 4, 5}) {
        if (!isSexagesimalPart(items[part], n[part])) {
            return std::nullopt;
        }
    }
    return LatLon{signedSexagesimal(items[0], n[0], n[1], n[2]),
                  signedSexagesimal(items[3], n[3], n[4], n[5])};
}

}  // namespace

QString normalizeCoordinateText(QStringView s) {
    return QString::fromLatin1(normalize(s));
}

QString myParser(QStringView s) {
    // Split as SplitCommaText would: no commas or quotes are left, only blanks between items.
    const std::string text = normalize(s);
    Items items;
    const int count = splitItems(text, items);
    if (count != 2 && count != 4 && count != 6) {
        return {};
    }
    // Converted strictly in item order, so the first bad item is the one reported.
    std::array<double, 6> n{};
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        n[i] = StrToFloat(items[i]);
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

}  // namespace zelkora
