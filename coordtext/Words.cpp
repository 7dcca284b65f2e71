#include "coordtext/Words.h"

#include <QString>
#include <string_view>
#include <unordered_map>

namespace zelkora {

namespace {

constexpr WordInfo hemisphere(Axis axis, int sign, bool strict = true) {
    WordInfo w;
    w.kind = WordKind::hemisphere;
    w.axis = axis;
    w.sign = static_cast<std::int8_t>(sign);
    w.strict = strict;
    return w;
}

constexpr WordInfo unreadable(Axis axis) {
    WordInfo w = hemisphere(axis, 0);
    w.unreadable = true;
    return w;
}

constexpr WordInfo of(WordKind kind, Axis axis = Axis::unknown, int sign = 0) {
    WordInfo w;
    w.kind = kind;
    w.axis = axis;
    w.sign = static_cast<std::int8_t>(sign);
    return w;
}

constexpr Axis kLat = Axis::latitude;
constexpr Axis kLon = Axis::longitude;

using Table = std::unordered_map<std::u16string_view, WordInfo>;

// Every word longer than one letter, in lower case.
const Table& words() {
    static const Table table = [] {
        Table t;
        const auto add = [&t](std::initializer_list<std::u16string_view> keys, WordInfo info) {
            for (const auto key : keys) {
                t.emplace(key, info);
            }
        };
        // Hemispheres and axes.
        add({u"north", u"nord", u"norte", u"bắc"}, hemisphere(kLat, +1));
        add({u"south", u"sud", u"sur", u"nam"}, hemisphere(kLat, -1));
        add({u"east", u"est", u"este", u"đông"}, hemisphere(kLon, +1));
        add({u"west", u"ouest", u"oeste", u"ovest", u"tây"}, hemisphere(kLon, -1));
        add({u"сш"}, hemisphere(kLat, +1, false));
        add({u"юш"}, hemisphere(kLat, -1, false));
        add({u"вд"}, hemisphere(kLon, +1, false));
        add({u"зд"}, hemisphere(kLon, -1, false));
        // South or west in languages whose other letters the rules do not read.
        add({u"sul", u"süd", u"ost"}, unreadable(kLat));
        add({u"lat", u"latitude", u"широта", u"широты", u"широти", u"szer", u"šířka", u"šířky",
             u"纬度", u"緯度"},
            of(WordKind::axisWord, kLat));
        add({u"lon", u"long", u"lng", u"longitude", u"долгота", u"долготы", u"довгота", u"довготи",
             u"dł", u"délka", u"délky", u"经度", u"経度"},
            of(WordKind::axisWord, kLon));
        add({u"шир"}, of(WordKind::noun, kLat));
        add({u"долг", u"довг"}, of(WordKind::noun, kLon));
        add({u"северной", u"северная", u"сев", u"пн", u"північної", u"severní"},
            of(WordKind::adjective, kLat, +1));
        add({u"южной", u"южная", u"южн", u"пд", u"південної", u"jižní"},
            of(WordKind::adjective, kLat, -1));
        add({u"восточной", u"восточная", u"вост", u"сх", u"східної", u"východní"},
            of(WordKind::adjective, kLon, +1));
        add({u"западной", u"западная", u"зап", u"зх", u"західної", u"západní"},
            of(WordKind::adjective, kLon, -1));
        add({u"vĩ"}, of(WordKind::vietAxis, kLat));
        add({u"kinh"}, of(WordKind::vietAxis, kLon));
        add({u"độ"}, of(WordKind::vietDo));
        // Marks written as words.
        add({u"deg", u"degree", u"degrees", u"град", u"градусов", u"градуса"},
            of(WordKind::degreeWord));
        add({u"min", u"mins", u"minutes", u"мин", u"минут"}, of(WordKind::minuteWord));
        add({u"sec", u"secs", u"seconds", u"сек", u"секунд"}, of(WordKind::secondWord));
        // Ranges and choices.
        add({u"to", u"до", u"đến", u"or", u"или", u"hoặc"}, of(WordKind::rangeWord));
        // Units: the number before is a quantity.
        add({u"km",      u"км",       u"ft",        u"feet",  u"foot", u"mi",  u"mile",  u"miles",
             u"mm",      u"cm",       u"см",        u"мм",    u"ha",   u"га",  u"kn",    u"kt",
             u"kts",     u"knots",    u"nm",        u"hr",    u"hrs",  u"ч",   u"ex",    u"exx",
             u"spec",    u"specimen", u"specimens", u"экз",   u"шт",   u"ind", u"inds",  u"spp",
             u"sp",      u"masl",     u"asl",       u"mbsl",  u"msl",  u"mg",  u"kg",    u"кг",
             u"yr",      u"yrs",      u"year",      u"years", u"лет",  u"гг",  u"day",   u"days",
             u"fathoms", u"fm",       u"mb",        u"hpa",   u"ppt",  u"psu", u"males", u"females",
             u"pairs",   u"nests",    u"eggs"},
            of(WordKind::unit));
        // Words after which the number is a label or a quantity.
        add({u"alt",       u"altitude", u"elev",    u"elevation", u"height",    u"depth",
             u"высота",    u"выс",      u"глубина", u"abs",       u"fig",       u"figs",
             u"figure",    u"рис",      u"tab",     u"table",     u"pl",        u"pp",
             u"page",      u"no",       u"nr",      u"vol",       u"site",      u"station",
             u"st",        u"stn",      u"plot",    u"sample",    u"trap",      u"transect",
             u"camp",      u"route",    u"km",      u"var",       u"variation", u"declination",
             u"склонение", u"stage",    u"zone",    u"grid",      u"srid",      u"epsg"},
            of(WordKind::quantityPrefix));
        add({u"jan",     u"feb",     u"mar",        u"apr",     u"may",       u"jun",
             u"jul",     u"aug",     u"sep",        u"sept",    u"oct",       u"nov",
             u"dec",     u"january", u"february",   u"march",   u"april",     u"june",
             u"july",    u"august",  u"september",  u"october", u"november",  u"december",
             u"января",  u"февраля", u"марта",      u"апреля",  u"мая",       u"июня",
             u"июля",    u"августа", u"сентября",   u"октября", u"ноября",    u"декабря",
             u"январь",  u"февраль", u"март",       u"апрель",  u"май",       u"июнь",
             u"июль",    u"август",  u"сентябрь",   u"октябрь", u"ноябрь",    u"декабрь",
             u"янв",     u"фев",     u"апр",        u"июн",     u"июл",       u"авг",
             u"сен",     u"сент",    u"окт",        u"ноя",     u"нояб",      u"дек",
             u"janvier", u"février", u"mars",       u"avril",   u"mai",       u"juin",
             u"juillet", u"août",    u"septembre",  u"octobre", u"novembre",  u"décembre",
             u"enero",   u"febrero", u"marzo",      u"abril",   u"mayo",      u"junio",
             u"julio",   u"agosto",  u"septiembre", u"octubre", u"noviembre", u"diciembre",
             u"tháng"},
            of(WordKind::month));
        const auto format = [](FormatWord f) {
            WordInfo w = of(WordKind::formatWord);
            w.format = f;
            return w;
        };
        add({u"coordinates"}, format(FormatWord::coordinates));
        add({u"point"}, format(FormatWord::point));
        add({u"geo"}, format(FormatWord::geo));
        add({u"http", u"https", u"www", u"maps", u"osm", u"yandex", u"google", u"openstreetmap"},
            format(FormatWord::link));
        add({u"ii", u"iii", u"iv", u"vi", u"vii", u"viii", u"ix", u"xi", u"xii"},
            of(WordKind::roman));
        return t;
    }();
    return table;
}

WordInfo letter(char16_t c) {
    WordInfo w;
    switch (c) {
        case u'N':
            w = hemisphere(kLat, +1);
            w.vietnameseN = true;
            return w;
        case u'n':
            return hemisphere(kLat, +1);
        case u'S':
            return hemisphere(kLat, -1);
        case u'E':
        case u'e':
            return hemisphere(kLon, +1);
        case u'W':
            return hemisphere(kLon, -1);
        case u'B':
            return hemisphere(kLat, +1);
        case u'\u0110':  // Đ
        case u'\u0111':  // đ
            w = hemisphere(kLon, +1);
            w.vietnameseD = true;
            return w;
        // Lower-case s and w, O (west in Spanish, east in German) and T (Vietnamese Tây).
        case u's':
            return unreadable(kLat);
        case u'w':
        case u'O':
        case u'T':
            return unreadable(kLon);
        // Russian: a letter alone, or the start of "с. ш.", "в. д.".
        case u'\u0421':  // С
            w = of(WordKind::adjective, kLat, +1);
            w.letterToo = true;
            return w;
        case u'\u042E':  // Ю
        case u'\u044E':  // ю
            w = of(WordKind::adjective, kLat, -1);
            w.letterToo = true;
            return w;
        case u'\u0412':  // В
            w = of(WordKind::adjective, kLon, +1);
            w.letterToo = true;
            return w;
        case u'\u0417':  // З
        case u'\u0437':  // з
            w = of(WordKind::adjective, kLon, -1);
            w.letterToo = true;
            return w;
        case u'\u0441':  // с
            return of(WordKind::adjective, kLat, +1);
        case u'\u0432':  // в
            return of(WordKind::adjective, kLon, +1);
        case u'\u0448':  // ш
        case u'\u0428':
            return of(WordKind::noun, kLat);
        case u'\u0434':  // д
        case u'\u0414':
            return of(WordKind::noun, kLon);
        case u'm':
        case u'\u043C':  // м
        case u'h':
        case u'g':
        case u'\u0433':  // г
            return of(WordKind::unit);
        case u'p':
            return of(WordKind::quantityPrefix);
        case u'I':
        case u'V':
        case u'X':
        case u'i':
        case u'v':
        case u'x':
            return of(WordKind::roman);
        default:
            return w;
    }
}

constexpr qsizetype kLongestWord = 24;

}  // namespace

bool isCjk(char16_t c) {
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF);
}

WordInfo classifyWord(QStringView word) {
    if (word.size() == 1) {
        return letter(word[0].unicode());
    }
    if (word.size() > kLongestWord) {
        return {};
    }
    // Composed first, so that a word typed with combining marks is the same word; a copy only
    // where a combining mark is there.
    QString composed;
    for (const QChar c : word) {
        if (c.unicode() >= 0x300 && c.unicode() < 0x370) {
            composed = word.toString().normalized(QString::NormalizationForm_C);
            word = composed;
            break;
        }
    }
    char16_t folded[kLongestWord];
    qsizetype n = 0;
    for (const QChar c : word) {
        if (n == kLongestWord) {
            return {};
        }
        folded[n++] = c.toLower().unicode();
    }
    const auto& table = words();
    const auto found = table.find(std::u16string_view(folded, static_cast<std::size_t>(n)));
    return found == table.end() ? WordInfo{} : found->second;
}

int cjkHemisphereAt(QStringView word, qsizetype at, WordInfo& info) {
    if (at + 1 >= word.size()) {
        return 0;
    }
    const char16_t first = word[at].unicode();
    const char16_t second = word[at + 1].unicode();
    const bool latitude = second == u'纬' || second == u'緯';
    const bool longitude = second == u'经' || second == u'経' || second == u'經';
    if (latitude && (first == u'北' || first == u'南')) {
        info = hemisphere(kLat, first == u'北' ? +1 : -1, false);
        return 2;
    }
    if (longitude && (first == u'东' || first == u'東' || first == u'西')) {
        info = hemisphere(kLon, first == u'西' ? -1 : +1, false);
        return 2;
    }
    return 0;
}

}  // namespace zelkora
