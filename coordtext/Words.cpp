#include "coordtext/Words.h"

#include <QString>
#include <string_view>
#include <unordered_map>

namespace zelkora {

namespace {

using S = LetterSystem;

constexpr unsigned bit(S s) {
    return 1u << static_cast<unsigned>(s);
}

LetterSystems systems(unsigned mask) {
    return LetterSystems(mask);
}

WordInfo hemisphere(Axis axis, int sign, bool strict = true, unsigned languages = 0) {
    WordInfo w;
    w.kind = WordKind::hemisphere;
    w.axis = axis;
    w.sign = static_cast<std::int8_t>(sign);
    w.strict = strict;
    w.languages = systems(languages);
    return w;
}

WordInfo of(WordKind kind, Axis axis = Axis::unknown, int sign = 0, unsigned languages = 0) {
    WordInfo w;
    w.kind = kind;
    w.axis = axis;
    w.sign = static_cast<std::int8_t>(sign);
    w.languages = systems(languages);
    return w;
}

// A hemisphere letter whose meaning the line's language decides.
WordInfo letterOf(char16_t c, bool strict = true) {
    WordInfo w;
    w.kind = WordKind::hemisphere;
    w.letter = c;
    w.strict = strict;
    return w;
}

constexpr Axis kLat = Axis::latitude;
constexpr Axis kLon = Axis::longitude;

constexpr unsigned kGerman = bit(S::german);
constexpr unsigned kDutch = bit(S::dutch);
constexpr unsigned kRomance = bit(S::romance);
constexpr unsigned kPortuguese = bit(S::portuguese);
constexpr unsigned kCzech = bit(S::czech);
constexpr unsigned kDanish = bit(S::danish);
constexpr unsigned kSwedish = bit(S::swedish);
constexpr unsigned kFinnish = bit(S::finnish);
constexpr unsigned kVietnamese = bit(S::vietnamese) | bit(S::vietnameseNorth);

using Table = std::unordered_map<std::u16string_view, WordInfo>;

struct Built {
    Table table;
    int duplicates = 0;
};

// Every word longer than one letter, in lower case.
const Built& built() {
    static const Built result = [] {
        Built b;
        const auto add = [&b](std::initializer_list<std::u16string_view> keys, WordInfo info) {
            for (const auto key : keys) {
                if (!b.table.emplace(key, info).second) {
                    ++b.duplicates;
                }
            }
        };
        // Hemispheres, alone or before or after their axis.
        add({u"north", u"northern"}, hemisphere(kLat, +1));
        // Kazakh, Polish and Finnish words that name a hemisphere alone or with their axis.
        add({u"солтүстік", u"солтүстікке"}, hemisphere(kLat, +1));
        add({u"оңтүстік", u"оңтүстікке"}, hemisphere(kLat, -1));
        add({u"шығыс", u"шығысқа"}, hemisphere(kLon, +1));
        add({u"батыс", u"батысқа"}, hemisphere(kLon, -1));
        add({u"północ", u"północy"}, hemisphere(kLat, +1));
        add({u"południe", u"południa"}, hemisphere(kLat, -1));
        add({u"wschód", u"wschodu"}, hemisphere(kLon, +1));
        add({u"zachód", u"zachodu"}, hemisphere(kLon, -1));
        add({u"pohjoista", u"pohjoiseen"}, hemisphere(kLat, +1, true, kFinnish));
        add({u"eteläistä", u"etelään"}, hemisphere(kLat, -1, true, kFinnish));
        add({u"itäistä", u"itään"}, hemisphere(kLon, +1, true, kFinnish));
        add({u"läntistä", u"länteen"}, hemisphere(kLon, -1, true, kFinnish));
        add({u"south", u"southern"}, hemisphere(kLat, -1));
        add({u"east", u"eastern"}, hemisphere(kLon, +1));
        add({u"север", u"сівер"}, hemisphere(kLat, +1));
        add({u"юг", u"південь"}, hemisphere(kLat, -1));
        add({u"восток", u"изток", u"схід"}, hemisphere(kLon, +1));
        add({u"запад", u"захід"}, hemisphere(kLon, -1));
        add({u"west", u"western"}, hemisphere(kLon, -1));
        add({u"nord"}, hemisphere(kLat, +1, true, kRomance | kGerman | kDanish | kSwedish));
        add({u"norte"}, hemisphere(kLat, +1, true, kRomance | kPortuguese));
        add({u"noord"}, hemisphere(kLat, +1, true, kDutch));
        add({u"sud", u"sur"}, hemisphere(kLat, -1, true, kRomance));
        add({u"süd"}, hemisphere(kLat, -1, true, kGerman));
        add({u"sul"}, hemisphere(kLat, -1, true, kPortuguese));
        add({u"zuid"}, hemisphere(kLat, -1, true, kDutch));
        add({u"syd", u"sør"}, hemisphere(kLat, -1, true, kDanish | kSwedish));
        add({u"est"}, hemisphere(kLon, +1, true, kRomance));
        add({u"este"}, hemisphere(kLon, +1, true, kRomance | kPortuguese));
        add({u"leste"}, hemisphere(kLon, +1, true, kPortuguese));
        add({u"ost"}, hemisphere(kLon, +1, true, kGerman | kSwedish));
        add({u"oost"}, hemisphere(kLon, +1, true, kDutch));
        add({u"øst"}, hemisphere(kLon, +1, true, kDanish));
        add({u"öst"}, hemisphere(kLon, +1, true, kSwedish));
        add({u"ouest", u"ovest"}, hemisphere(kLon, -1, true, kRomance));
        add({u"oeste"}, hemisphere(kLon, -1, true, kRomance | kPortuguese));
        add({u"vest"}, hemisphere(kLon, -1, true, kDanish));
        add({u"väst", u"väster"}, hemisphere(kLon, -1, true, kSwedish));
        add({u"bắc"}, hemisphere(kLat, +1, true, kVietnamese));
        add({u"nam"}, hemisphere(kLat, -1, true, kVietnamese));
        add({u"đông"}, hemisphere(kLon, +1, true, kVietnamese));
        add({u"tây"}, hemisphere(kLon, -1, true, kVietnamese));
        add({u"noorderbreedte"}, hemisphere(kLat, +1, false, kDutch));
        add({u"nb"}, hemisphere(kLat, +1, true, kDutch));
        add({u"zb"}, hemisphere(kLat, -1, true, kDutch));
        add({u"ol"}, hemisphere(kLon, +1, true, kDutch));
        add({u"wl"}, hemisphere(kLon, -1, true, kDutch));
        add({u"zuiderbreedte"}, hemisphere(kLat, -1, false, kDutch));
        add({u"oosterlengte"}, hemisphere(kLon, +1, false, kDutch));
        add({u"westerlengte"}, hemisphere(kLon, -1, false, kDutch));
        add({u"сш", u"пнш", u"sgš", u"сгш"}, hemisphere(kLat, +1, false));
        add({u"jgš", u"јгш"}, hemisphere(kLat, -1, false));
        add({u"igd", u"игд"}, hemisphere(kLon, +1, false));
        add({u"zgd", u"згд"}, hemisphere(kLon, -1, false));
        add({u"юш", u"пдш"}, hemisphere(kLat, -1, false));
        add({u"вд", u"схд"}, hemisphere(kLon, +1, false));
        add({u"зд", u"зхд"}, hemisphere(kLon, -1, false));
        add({u"북위"}, hemisphere(kLat, +1, false));
        add({u"남위"}, hemisphere(kLat, -1, false));
        add({u"동경"}, hemisphere(kLon, +1, false));
        add({u"서경"}, hemisphere(kLon, -1, false));
        // Axes.
        add({u"lat", u"latitude", u"широта", u"широты", u"широти", u"шыраты", u"шырата", u"ширина",
             u"ширине", u"širine", u"szer", u"szerokości", u"šířka", u"šířky", u"šírky", u"纬度",
             u"緯度", u"위도"},
            of(WordKind::axisWord, kLat));
        add({u"latitud", u"latitudine"}, of(WordKind::axisWord, kLat, 0, kRomance));
        add({u"breite", u"br"}, of(WordKind::axisWord, kLat, 0, kGerman | kDanish | kSwedish));
        add({u"sch"}, of(WordKind::axisWord, kLat, 0, kGerman));
        add({u"cii", u"sh"}, of(WordKind::axisWord, kLat));
        add({u"breedte"}, of(WordKind::axisWord, kLat, 0, kDutch));
        add({u"bredde", u"bredd"}, of(WordKind::axisWord, kLat, 0, kDanish | kSwedish));
        add({u"leveyttä", u"lev"}, of(WordKind::axisWord, kLat, 0, kFinnish));
        add({u"ендік"}, of(WordKind::axisWord, kLat));
        add({u"lon",     u"long",    u"lng",      u"longitude", u"долгота", u"долготы",
             u"довгота", u"довготи", u"даўгаты",  u"даўгата",   u"дължина", u"дужине",
             u"dužine",  u"dł",      u"długości", u"délka",     u"délky",   u"dĺžky",
             u"经度",    u"経度",    u"경도",     u"бойлық"},
            of(WordKind::axisWord, kLon));
        add({u"longitud", u"longitudine"}, of(WordKind::axisWord, kLon, 0, kRomance));
        add({u"länge"}, of(WordKind::axisWord, kLon, 0, kGerman));
        add({u"lengte"}, of(WordKind::axisWord, kLon, 0, kDutch));
        add({u"længde", u"lengde"}, of(WordKind::axisWord, kLon, 0, kDanish));
        add({u"längd"}, of(WordKind::axisWord, kLon, 0, kSwedish));
        add({u"pituutta", u"pit"}, of(WordKind::axisWord, kLon, 0, kFinnish));
        add({u"шир"}, of(WordKind::noun, kLat));
        add({u"долг", u"довг"}, of(WordKind::noun, kLon));
        // Adjectives that name a hemisphere with their noun: северной широты, severní šířky.
        add({u"северной",  u"северная", u"северн",    u"сев",     u"пн",        u"північної",
             u"паўночнай", u"паўн",     u"северна",   u"северне", u"severne",   u"sjeverne",
             u"severní",   u"severnej", u"północnej", u"płn",     u"nördliche", u"nördlicher",
             u"nördl",     u"nordlig",  u"nordlige",  u"pohj"},
            of(WordKind::adjective, kLat, +1));
        add({u"южной",    u"южная",     u"южн",   u"пд",     u"південної", u"паўднёвай",   u"паўд",
             u"южна",     u"јужне",     u"južne", u"jižní",  u"južnej",    u"południowej", u"płd",
             u"südliche", u"südlicher", u"südl",  u"sydlig", u"sydlige",   u"sørlig",      u"etel"},
            of(WordKind::adjective, kLat, -1));
        add({u"восточной", u"восточная",  u"вост",   u"сх",       u"східної",   u"усходняй",
             u"усх",       u"източна",    u"изт",    u"источне",  u"istočne",   u"východní",
             u"východnej", u"wschodniej", u"wsch",   u"östliche", u"östlicher", u"östl",
             u"østlig",    u"østlige",    u"östlig", u"it"},
            of(WordKind::adjective, kLon, +1));
        add({u"западной",   u"западная", u"зап",       u"зх",         u"західної", u"заходняй",
             u"зах",        u"западна",  u"западне",   u"zapadne",    u"západní",  u"západnej",
             u"zachodniej", u"zach",     u"westliche", u"westlicher", u"westl",    u"vestlig",
             u"vestlige",   u"västlig",  u"länt"},
            of(WordKind::adjective, kLon, -1));
        add({u"географской", u"географической", u"географічної", u"геаграфічнай", u"географска",
             u"географске", u"geografske", u"geografické", u"geografickej", u"geograficznej",
             u"geogr", u"geographic", u"geographical", u"географ"},
            of(WordKind::filler));
        // Between a number and the words that name it: "2,16 grados de latitud sur", "37.1 di
        // latitudine", "қарай" (toward).
        add({u"de", u"di", u"of", u"қарай"}, of(WordKind::filler));
        add({u"vĩ"}, of(WordKind::vietAxis, kLat, 0, kVietnamese));
        add({u"kinh"}, of(WordKind::vietAxis, kLon, 0, kVietnamese));
        add({u"độ"}, of(WordKind::vietDo, Axis::unknown, 0, kVietnamese));
        // Marks written as words.
        add({u"deg", u"degree", u"degrees", u"град", u"градус", u"градуса", u"градусов",
             u"градусів", u"stopni", u"stupňů", u"grad", u"grader", u"grados", u"astetta", u"graus",
             u"gradi", u"degrés"},
            of(WordKind::degreeWord));
        add({u"min", u"mins", u"minute", u"minutes", u"мин", u"минута", u"минуты", u"минут", u"хв",
             u"minut", u"minuten", u"minutos", u"minuti", u"phút"},
            of(WordKind::minuteWord));
        add({u"sec", u"secs", u"second", u"seconds", u"сек", u"секунда", u"секунды", u"секунд",
             u"sekund", u"sekunden", u"segundos", u"secondi", u"giây"},
            of(WordKind::secondWord));
        // Ranges and choices.
        add({u"to", u"до", u"đến", u"or", u"или", u"hoặc", u"bis", u"tot", u"hasta", u"até", u"або",
             u"nebo", u"lub", u"oder", u"ou", u"tới"},
            of(WordKind::rangeWord));
        add({u"between", u"между", u"між", u"zwischen", u"entre", u"tra", u"fra", u"mezi",
             u"między", u"từ", u"from", u"от", u"від", u"von", u"van", u"od", u"desde", u"dal"},
            of(WordKind::rangeOpening));
        add({u"and", u"та", u"và", u"et", u"en", u"og", u"och", u"ja", u"және", u"ва"},
            of(WordKind::connector));
        // Units: the number before is a quantity.
        add({u"km",         u"км",          u"ft",          u"feet",        u"foot",    u"mi",
             u"mile",       u"miles",       u"mm",          u"cm",          u"см",      u"мм",
             u"ha",         u"га",          u"kn",          u"kt",          u"kts",     u"knots",
             u"nm",         u"hr",          u"hrs",         u"ч",           u"ex",      u"exx",
             u"spec",       u"specimen",    u"specimens",   u"экз",         u"шт",      u"ind",
             u"inds",       u"spp",         u"sp",          u"masl",        u"asl",     u"mbsl",
             u"msl",        u"mg",          u"kg",          u"кг",          u"yr",      u"yrs",
             u"year",       u"years",       u"лет",         u"гг",          u"day",     u"days",
             u"fathoms",    u"fm",          u"mb",          u"hpa",         u"ppt",     u"psu",
             u"male",       u"males",       u"female",      u"females",     u"pairs",   u"nests",
             u"eggs",       u"larva",       u"larvae",      u"nymph",       u"nymphs",  u"workers",
             u"individual", u"individuals", u"juv",         u"juveniles",   u"adults",  u"adult",
             u"самец",      u"самца",       u"самцов",      u"самка",       u"самки",   u"самок",
             u"особей",     u"особи",       u"экземпляров", u"экземпляра",  u"cá",      u"mẫu",
             u"cây",        u"meters",      u"metres",      u"м",           u"hours",   u"species",
             u"taxa",       u"plants",      u"sheets",      u"stations",    u"samples", u"records",
             u"localities", u"sites",       u"people",      u"inhabitants", u"жителей", u"человек",
             u"vols",       u"pages",       u"percent",     u"ac",          u"acres",   u"tons",
             u"ml",         u"mph",         u"kmh",         u"kph",         u"dpi",     u"px",
             u"kb",         u"gb",          u"usd",         u"eur",         u"rub",     u"руб",
             u"đồng",       u"vnd",         u"mét"},
            of(WordKind::unit));
        add({u"kilómetros", u"kilometros", u"kilómetro",   u"metros",      u"millas",
             u"chilometri", u"metri",      u"kilometer",   u"kilometern",  u"meter",
             u"metern",     u"kilometrů",  u"metrů",       u"kilometrov",  u"metrov",
             u"kilometrów", u"metrów",     u"километров",  u"километра",   u"метров",
             u"метра",      u"кілометрів", u"метрів",      u"шақырым",     u"шақырымда",
             u"mètres",     u"kilomètres", u"quilômetros", u"quilómetros", u"km²",
             u"kvm"},
            of(WordKind::unit));
        // Words after which the number is a label or a quantity.
        add({u"alt",       u"altitude", u"elev",        u"elevation",  u"height",
             u"depth",     u"высота",   u"выс",         u"глубина",    u"abs",
             u"fig",       u"figs",     u"figure",      u"рис",        u"tab",
             u"table",     u"pl",       u"pp",          u"page",       u"no",
             u"nr",        u"vol",      u"site",        u"station",    u"st",
             u"stn",       u"plot",     u"sample",      u"trap",       u"transect",
             u"camp",      u"route",    u"var",         u"variation",  u"declination",
             u"склонение", u"stage",    u"zone",        u"grid",       u"srid",
             u"epsg",      u"num",      u"number",      u"loc",        u"locality",
             u"tel",       u"phone",    u"fax",         u"spn",        u"sspn",
             u"catalogue", u"cat",      u"acc",         u"collection", u"coll",
             u"leg",       u"det",      u"herb",        u"holotype",   u"paratype",
             u"paratypes", u"voucher",  u"field",       u"issue",      u"chapter",
             u"section",   u"sect",     u"art",         u"article",    u"volume",
             u"tập",       u"số",       u"trang",       u"hình",       u"bảng",
             u"том",       u"стр",      u"табл",        u"вып",        u"выпуск",
             u"квартал",   u"кв",       u"участок",     u"высоте",     u"abb",
             u"seite",     u"nummer",   u"taf",         u"obr",        u"str",
             u"tabulka",   u"ryc",      u"kuva",        u"sivu",       u"hwy",
             u"highway",   u"road",     u"bus",         u"line",       u"lines",
             u"row",       u"ul",       u"dom",         u"house",      u"apt",
             u"room",      u"floor",    u"gate",        u"platform",   u"flight",
             u"rwy",       u"runway",   u"twy",         u"version",    u"rev",
             u"ed",        u"edition",  u"id",          u"gbif",       u"code",
             u"plate",     u"plates",   u"nos",         u"sta",        u"quadrat",
             u"pt",        u"points",   u"waypoint",    u"wpt",        u"tree",
             u"grave",     u"block",    u"compartment", u"elevación",  u"altitud",
             u"höhe",      u"cao",      u"dài",         u"rộng",       u"sâu",
             u"nhiệt",     u"năm",      u"ngày",        u"múi",        u"giờ",
             u"thứ",       u"lần",      u"trạm"},
            of(WordKind::quantityPrefix));
        add({u"ref", u"refs", u"reference", u"references", u"doi", u"isbn", u"issn", u"pmid", u"cf",
             u"al", u"лит", u"tlth", u"xem"},
            of(WordKind::reference));
        add({u"jan",       u"feb",      u"mar",        u"apr",      u"may",       u"jun",
             u"jul",       u"aug",      u"sep",        u"sept",     u"oct",       u"nov",
             u"dec",       u"january",  u"february",   u"march",    u"april",     u"june",
             u"july",      u"august",   u"september",  u"october",  u"november",  u"december",
             u"января",    u"февраля",  u"марта",      u"апреля",   u"мая",       u"июня",
             u"июля",      u"августа",  u"сентября",   u"октября",  u"ноября",    u"декабря",
             u"январь",    u"февраль",  u"март",       u"апрель",   u"май",       u"июнь",
             u"июль",      u"август",   u"сентябрь",   u"октябрь",  u"ноябрь",    u"декабрь",
             u"янв",       u"фев",      u"апр",        u"июн",      u"июл",       u"авг",
             u"сен",       u"сент",     u"окт",        u"ноя",      u"нояб",      u"дек",
             u"janvier",   u"février",  u"mars",       u"avril",    u"mai",       u"juin",
             u"juillet",   u"août",     u"septembre",  u"octobre",  u"novembre",  u"décembre",
             u"enero",     u"febrero",  u"marzo",      u"abril",    u"mayo",      u"junio",
             u"julio",     u"agosto",   u"septiembre", u"octubre",  u"noviembre", u"diciembre",
             u"tháng",     u"januar",   u"februar",    u"märz",     u"juni",      u"juli",
             u"oktober",   u"dezember", u"stycznia",   u"lutego",   u"marca",     u"kwietnia",
             u"maja",      u"czerwca",  u"lipca",      u"sierpnia", u"września",  u"października",
             u"listopada", u"grudnia",  u"ledna",      u"února",    u"března",    u"dubna",
             u"května",    u"června",   u"července",   u"srpna",    u"září",      u"října",
             u"listopadu", u"prosince", u"gennaio",    u"febbraio", u"aprile",    u"maggio",
             u"giugno",    u"luglio",   u"settembre",  u"ottobre",  u"dicembre",  u"janeiro",
             u"fevereiro", u"março",    u"maio",       u"junho",    u"julho",     u"setembro",
             u"outubro",   u"novembro", u"dezembro",   u"年",       u"月",        u"日",
             u"년",        u"월",       u"일"},
            of(WordKind::month));
        add({u"ii", u"iii", u"iv", u"vi", u"vii", u"viii", u"ix", u"xi", u"xii"},
            of(WordKind::roman));
        // Words of prose that name no hemisphere, wherever they stand after a number.
        add({u"in",    u"at",    u"near",   u"the",   u"on",   u"by",   u"with",   u"for",
             u"along", u"above", u"below",  u"is",    u"was",  u"are",  u"were",   u"which",
             u"на",    u"у",     u"около",  u"возле", u"близ", u"по",   u"при",    u"над",
             u"под",   u"gần",   u"tại",    u"ở",     u"trên", u"dưới", u"thuộc",  u"xã",
             u"huyện", u"tỉnh",  u"blízko", u"koło",  u"przy", u"біля", u"поблизу"},
            of(WordKind::common));
        // Words that tell the language where the letters leave it open (O, V, Z, L).
        add({u"der", u"die", u"das", u"bei", u"nahe", u"im", u"am", u"koordinaten",
             u"geographische", u"lage", u"und", u"ist", u"sind", u"liegt", u"südlich", u"nördlich",
             u"östlich", u"westlich"},
            of(WordKind::plain, Axis::unknown, 0, kGerman));
        add({u"het", u"bij", u"nabij"}, of(WordKind::plain, Axis::unknown, 0, kDutch));
        add({u"coordenadas"}, of(WordKind::plain, Axis::unknown, 0, kRomance | kPortuguese));
        add({u"súradnice", u"bod", u"hranica", u"hranici", u"okres"},
            of(WordKind::plain, Axis::unknown, 0, kCzech));
        add({u"del", u"cerca", u"los", u"las", u"près", u"les", u"des", u"du", u"della", u"presso",
             u"vicino"},
            of(WordKind::plain, Axis::unknown, 0, kRomance));
        add({u"perto"}, of(WordKind::plain, Axis::unknown, 0, kPortuguese));
        add({u"ved", u"nær"}, of(WordKind::plain, Axis::unknown, 0, kDanish));
        add({u"vid", u"nära"}, of(WordKind::plain, Axis::unknown, 0, kSwedish));
        add({u"poblíž", u"obec", u"souřadnice"}, of(WordKind::plain, Axis::unknown, 0, kCzech));
        add({u"lähellä", u"kylä"}, of(WordKind::plain, Axis::unknown, 0, kFinnish));
        return b;
    }();
    return result;
}

WordInfo letter(char16_t c) {
    switch (c) {
        // Latin letters whose meaning the line's language decides; N, S, E and W mean what
        // they mean in English unless the line's other letters say otherwise.
        case u'N':
        case u'S':
        case u'E':
        case u'W':
        case u'O':
        case u'V':
        case u'Z':
        case u'J':
        case u'L':
        case u'P':
        case u'B':
        case u'T':
        case u'\u00D8':  // Ø
        case u'\u00D6':  // Ö
            return letterOf(c);
        case u'\u0110':  // Đ
        case u'\u0111':  // đ
            return letterOf(u'\u0110');
        case u'n':
            return letterOf(u'N');
        case u'e':
            return letterOf(u'E');
        // Lower-case s and w: seconds and a word's letter as often as a hemisphere.
        case u's':
        case u'w':
            return letterOf(c);
        // Russian and its neighbours: a letter alone, or the start of "с. ш.", "в. д.".
        case u'\u0421':  // С
        {
            WordInfo w = of(WordKind::adjective, kLat, +1);
            w.letterToo = true;
            return w;
        }
        case u'\u042E':  // Ю
        case u'\u044E':  // ю
        {
            WordInfo w = of(WordKind::adjective, kLat, -1);
            w.letterToo = true;
            return w;
        }
        case u'\u0412':  // В
        {
            WordInfo w = of(WordKind::adjective, kLon, +1);
            w.letterToo = true;
            return w;
        }
        case u'\u0417':  // З
        case u'\u0437':  // з
        {
            WordInfo w = of(WordKind::adjective, kLon, -1);
            w.letterToo = true;
            return w;
        }
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
        case u'\u0438':  // и: "and", or Bulgarian "и. д." (източна дължина)
            return of(WordKind::connector);
        case u'm':
        case u'\u043C':  // м
        case u'h':
        case u'g':
        case u'\u0433':  // г
            return of(WordKind::unit);
        case u'p':
            return of(WordKind::quantityPrefix);
        case u'\u2116':  // №
            return of(WordKind::quantityPrefix);
        case u'i':  // "and" in Polish, Croatian and Serbian
            return of(WordKind::connector);
        case u'I':
        case u'X':
        case u'v':
        case u'x':
            return of(WordKind::roman);
        case u'a':
        case u'y':
        case u'\u0456':  // і
            return of(WordKind::connector);
        case u'o':
        case u'\u00E0':  // à
            return of(WordKind::rangeWord);
        default:
            return {};
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
    const auto& table = built().table;
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
    // 纬度, 経度: the axis alone.
    if (second == u'度' && (first == u'纬' || first == u'緯')) {
        info = of(WordKind::axisWord, kLat);
        return 2;
    }
    if (second == u'度' && (first == u'经' || first == u'経' || first == u'經')) {
        info = of(WordKind::axisWord, kLon);
        return 2;
    }
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

bool abbreviation(QStringView first, QStringView second, WordInfo& info) {
    struct Pair {
        std::u16string_view first;
        std::u16string_view second;
        Axis axis;
        int sign;
        unsigned languages;
    };
    static constexpr Pair kPairs[] = {
        {u"s", u"š", kLat, +1, kCzech},
        {u"j", u"š", kLat, -1, kCzech},
        {u"v", u"d", kLon, +1, kCzech},
        {u"z", u"d", kLon, -1, kCzech},
        {u"n", u"br", kLat, +1, 0},
        {u"s", u"br", kLat, -1, 0},
        {u"nördl", u"br", kLat, +1, kGerman},
        {u"südl", u"br", kLat, -1, kGerman},
        {u"ö", u"l", kLon, +1, kGerman | kSwedish},
        {u"w", u"l", kLon, -1, kGerman},
        {u"östl", u"l", kLon, +1, kGerman},
        {u"westl", u"l", kLon, -1, kGerman},
        {u"ø", u"l", kLon, +1, kDanish},
        {u"v", u"l", kLon, -1, kDanish | kSwedish},
        {u"и", u"д", kLon, +1, 0},
        {u"ш", u"б", kLon, +1, 0},
        {u"б", u"б", kLon, -1, 0},
        {u"с", u"е", kLat, +1, 0},
        {u"о", u"е", kLat, -1, 0},
        {u"pn", u"sz", kLat, +1, 0},
        {u"у", u"д", kLon, +1, 0},
        {u"сг", u"ш", kLat, +1, 0},
        {u"иг", u"д", kLon, +1, 0},
        {u"i", u"d", kLon, +1, 0},
        // Machine translations of "с. ш.": s. Sch., s. sh., s. cii.
        {u"s", u"sch", kLat, +1, 0},
        {u"s", u"sh", kLat, +1, 0},
        {u"s", u"cii", kLat, +1, 0},
    };
    if (first.size() > 5 || second.size() > 5) {
        return false;
    }
    const QString a = first.toString().toLower();
    const QString b = second.toString().toLower();
    for (const Pair& p : kPairs) {
        if (QStringView(a) == QStringView(p.first.data(), qsizetype(p.first.size())) &&
            QStringView(b) == QStringView(p.second.data(), qsizetype(p.second.size()))) {
            info = hemisphere(p.axis, p.sign, false, p.languages);
            return true;
        }
    }
    return false;
}

void forEachWord(const std::function<void(QStringView word, const WordInfo& info)>& visit) {
    for (const auto& [key, info] : built().table) {
        visit(QStringView(key.data(), static_cast<qsizetype>(key.size())), info);
    }
}

int duplicateWords() {
    return built().duplicates;
}

}  // namespace zelkora
