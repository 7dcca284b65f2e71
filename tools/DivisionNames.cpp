#include "tools/DivisionNames.h"

#include <array>

namespace zelkora {

namespace {

// The mergers of Resolution 202/2025/QH15 of the National Assembly of Vietnam (12 June 2025, in
// force on 1 July 2025); see tools/README.md. Capitals of the misnamed polygons: Bắc Kạn
// 22°08′ N 105°50′ E, Hưng Yên 20°39′ N 106°02′ E, Biên Hòa 10°57′ N 106°49′ E.
constexpr std::array kDivisions{
    NamedDivision{"VNM", "An Giang", "An Giang", "An Giang", {}},
    NamedDivision{"VNM", "Kiên Giang", "Kiên Giang", "An Giang", {}},
    NamedDivision{"VNM", "Bắc Ninh", "Bắc Ninh", "Bắc Ninh", {}},
    NamedDivision{"VNM", "Bắc Giang", "Bắc Giang", "Bắc Ninh", {}},
    NamedDivision{"VNM", "Cà Mau", "Cà Mau", "Cà Mau", {}},
    NamedDivision{"VNM", "Bạc Liêu", "Bạc Liêu", "Cà Mau", {}},
    NamedDivision{"VNM", "Cao Bằng", "Cao Bằng", "Cao Bằng", {}},
    NamedDivision{"VNM", "Can Tho", "Cần Thơ", "Cần Thơ", {}},
    NamedDivision{"VNM", "Sóc Trăng", "Sóc Trăng", "Cần Thơ", {}},
    NamedDivision{"VNM", "Hau Giang", "Hậu Giang", "Cần Thơ", {}},
    NamedDivision{"VNM", "Đà Nẵng", "Đà Nẵng", "Đà Nẵng", {}},
    NamedDivision{"VNM", "Quàng Nam", "Quảng Nam", "Đà Nẵng", {}},
    NamedDivision{"VNM", "Đắk Lắk", "Đắk Lắk", "Đắk Lắk", {}},
    NamedDivision{"VNM", "Phú Yên", "Phú Yên", "Đắk Lắk", {}},
    NamedDivision{"VNM", "Điện Biên", "Điện Biên", "Điện Biên", {}},
    NamedDivision{"VNM", "Đông Nam Bộ", "Đồng Nai", "Đồng Nai",
                  GeoPoint{.lat = 10.95, .lon = 106.8167}},
    NamedDivision{"VNM", "Bình Phước", "Bình Phước", "Đồng Nai", {}},
    NamedDivision{"VNM", "\u00D0ong Tháp", "Đồng Tháp", "Đồng Tháp", {}},
    NamedDivision{"VNM", "Tiền Giang", "Tiền Giang", "Đồng Tháp", {}},
    NamedDivision{"VNM", "Gia Lai", "Gia Lai", "Gia Lai", {}},
    NamedDivision{"VNM", "Bình Định", "Bình Định", "Gia Lai", {}},
    NamedDivision{"VNM", "Ha Noi", "Hà Nội", "Hà Nội", {}},
    NamedDivision{"VNM", "Ha Tinh", "Hà Tĩnh", "Hà Tĩnh", {}},
    NamedDivision{"VNM", "Hải Phòng", "Hải Phòng", "Hải Phòng", {}},
    NamedDivision{"VNM", "Hải Dương", "Hải Dương", "Hải Phòng", {}},
    NamedDivision{"VNM", "Hồ Chí Minh city", "Hồ Chí Minh", "Hồ Chí Minh", {}},
    NamedDivision{"VNM", "Bình Dương", "Bình Dương", "Hồ Chí Minh", {}},
    NamedDivision{"VNM", "Bà Rịa - Vũng Tàu", "Bà Rịa – Vũng Tàu", "Hồ Chí Minh", {}},
    // Thừa Thiên Huế became the city of Huế on 1 January 2025, with the same land.
    NamedDivision{"VNM", "Thừa Thiên - Huế", "Thừa Thiên Huế", "Huế", {}},
    NamedDivision{"VNM", "Đồng Bằng Sông Hồng", "Hưng Yên", "Hưng Yên",
                  GeoPoint{.lat = 20.65, .lon = 106.0333}},
    NamedDivision{"VNM", "Thái Bình", "Thái Bình", "Hưng Yên", {}},
    NamedDivision{"VNM", "Khánh Hòa", "Khánh Hòa", "Khánh Hòa", {}},
    NamedDivision{"VNM", "Ninh Thuận", "Ninh Thuận", "Khánh Hòa", {}},
    NamedDivision{"VNM", "Lai Chau", "Lai Châu", "Lai Châu", {}},
    NamedDivision{"VNM", "Lâm Đồng", "Lâm Đồng", "Lâm Đồng", {}},
    NamedDivision{"VNM", "Đắk Nông", "Đắk Nông", "Lâm Đồng", {}},
    NamedDivision{"VNM", "Bình Thuận", "Bình Thuận", "Lâm Đồng", {}},
    NamedDivision{"VNM", "Lạng Sơn", "Lạng Sơn", "Lạng Sơn", {}},
    NamedDivision{"VNM", "Lào Cai", "Lào Cai", "Lào Cai", {}},
    NamedDivision{"VNM", "Yên Bái", "Yên Bái", "Lào Cai", {}},
    NamedDivision{"VNM", "Nghệ An", "Nghệ An", "Nghệ An", {}},
    NamedDivision{"VNM", "Ninh Bình", "Ninh Bình", "Ninh Bình", {}},
    NamedDivision{"VNM", "Hà Nam", "Hà Nam", "Ninh Bình", {}},
    NamedDivision{"VNM", "Nam Định", "Nam Định", "Ninh Bình", {}},
    NamedDivision{"VNM", "Phú Thọ", "Phú Thọ", "Phú Thọ", {}},
    NamedDivision{"VNM", "Vĩnh Phúc", "Vĩnh Phúc", "Phú Thọ", {}},
    NamedDivision{"VNM", "Hòa Bình", "Hòa Bình", "Phú Thọ", {}},
    NamedDivision{"VNM", "Quảng Ngãi", "Quảng Ngãi", "Quảng Ngãi", {}},
    NamedDivision{"VNM", "Kon Tum", "Kon Tum", "Quảng Ngãi", {}},
    NamedDivision{"VNM", "Quảng Ninh", "Quảng Ninh", "Quảng Ninh", {}},
    NamedDivision{"VNM", "Quảng Trị", "Quảng Trị", "Quảng Trị", {}},
    NamedDivision{"VNM", "Quảng Bình", "Quảng Bình", "Quảng Trị", {}},
    NamedDivision{"VNM", "Son La", "Sơn La", "Sơn La", {}},
    NamedDivision{"VNM", "Tây Ninh", "Tây Ninh", "Tây Ninh", {}},
    NamedDivision{"VNM", "Long An", "Long An", "Tây Ninh", {}},
    NamedDivision{"VNM", "Thái Nguyên", "Thái Nguyên", "Thái Nguyên", {}},
    NamedDivision{"VNM", "Đông Bắc", "Bắc Kạn", "Thái Nguyên",
                  GeoPoint{.lat = 22.1333, .lon = 105.8333}},
    NamedDivision{"VNM", "Thanh Hóa", "Thanh Hóa", "Thanh Hóa", {}},
    NamedDivision{"VNM", "Tuyên Quang", "Tuyên Quang", "Tuyên Quang", {}},
    NamedDivision{"VNM", "Hà Giang", "Hà Giang", "Tuyên Quang", {}},
    NamedDivision{"VNM", "Vĩnh Long", "Vĩnh Long", "Vĩnh Long", {}},
    NamedDivision{"VNM", "Bến Tre", "Bến Tre", "Vĩnh Long", {}},
    NamedDivision{"VNM", "Trà Vinh", "Trà Vinh", "Vĩnh Long", {}},

    // Russia's regions on the Far East map. Natural Earth calls Magadan Oblast "Maga Buryatdan"
    // (Magadan 59°34′ N 150°48′ E), and Zabaykalsky Krai, formed on 1 March 2008 from Chita
    // Oblast and the Agin-Buryat Okrug, by the old oblast's name (Chita 52°02′ N 113°30′ E).
    NamedDivision{"RUS", "Chukchi Autonomous Okrug", "Чукотский автономный округ", nullptr, {}},
    NamedDivision{"RUS", "Maga Buryatdan", "Магаданская область", nullptr,
                  GeoPoint{.lat = 59.5667, .lon = 150.8}},
    NamedDivision{"RUS", "Kamchatka", "Камчатский край", nullptr, {}},
    NamedDivision{"RUS", "Sakha (Yakutia)", "Республика Саха (Якутия)", nullptr, {}},
    NamedDivision{"RUS", "Khabarovsk", "Хабаровский край", nullptr, {}},
    NamedDivision{"RUS", "Amur", "Амурская область", nullptr, {}},
    NamedDivision{"RUS", "Yevrey", "Еврейская автономная область", nullptr, {}},
    NamedDivision{"RUS", "Primor'ye", "Приморский край", nullptr, {}},
    NamedDivision{"RUS", "Sakhalin", "Сахалинская область", nullptr, {}},
    NamedDivision{"RUS", "Chita", "Забайкальский край", nullptr,
                  GeoPoint{.lat = 52.0333, .lon = 113.5}},
    NamedDivision{"RUS", "Buryat", "Республика Бурятия", nullptr, {}},
    NamedDivision{"RUS", "Irkutsk", "Иркутская область", nullptr, {}},
};

struct CountryName {
    const char* iso;
    const char* russian;
};

constexpr std::array kCountries{
    CountryName{"VNM", "Вьетнам"},  CountryName{"LAO", "Лаос"},
    CountryName{"KHM", "Камбоджа"}, CountryName{"THA", "Таиланд"},
    CountryName{"MMR", "Мьянма"},   CountryName{"CHN", "Китай"},
    CountryName{"RUS", "Россия"},   CountryName{"MNG", "Монголия"},
    CountryName{"PRK", "КНДР"},     CountryName{"KOR", "Республика Корея"},
    CountryName{"JPN", "Япония"},   CountryName{"USA", "США"},
};

}  // namespace

std::span<const NamedDivision> namedDivisions() {
    return kDivisions;
}

bool namesAllDivisionsOf(const QString& country) {
    return country == QLatin1String("VNM") || country == QLatin1String("RUS");
}

QString russianCountryName(const QString& iso) {
    for (const CountryName& c : kCountries) {
        if (iso == QLatin1String(c.iso)) {
            return QString::fromUtf8(c.russian);
        }
    }
    return {};
}

}  // namespace zelkora
