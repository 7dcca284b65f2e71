// The generator's table of names against the mergers as Resolution 202/2025/QH15 lists them.
#include "tools/DivisionNames.h"

#include <gtest/gtest.h>

#include <QString>
#include <map>
#include <set>
#include <string>

namespace zelkora {

namespace {

using Mergers = std::map<std::string, std::set<std::string>>;

// Each new province with the old provinces it joined; the eleven unchanged ones join only
// themselves, Huế as the former Thừa Thiên Huế.
const Mergers kMergers{
    {"Tuyên Quang", {"Tuyên Quang", "Hà Giang"}},
    {"Lào Cai", {"Lào Cai", "Yên Bái"}},
    {"Thái Nguyên", {"Thái Nguyên", "Bắc Kạn"}},
    {"Phú Thọ", {"Phú Thọ", "Vĩnh Phúc", "Hòa Bình"}},
    {"Bắc Ninh", {"Bắc Ninh", "Bắc Giang"}},
    {"Hưng Yên", {"Hưng Yên", "Thái Bình"}},
    {"Hải Phòng", {"Hải Phòng", "Hải Dương"}},
    {"Ninh Bình", {"Ninh Bình", "Hà Nam", "Nam Định"}},
    {"Quảng Trị", {"Quảng Trị", "Quảng Bình"}},
    {"Đà Nẵng", {"Đà Nẵng", "Quảng Nam"}},
    {"Quảng Ngãi", {"Quảng Ngãi", "Kon Tum"}},
    {"Gia Lai", {"Gia Lai", "Bình Định"}},
    {"Khánh Hòa", {"Khánh Hòa", "Ninh Thuận"}},
    {"Lâm Đồng", {"Lâm Đồng", "Đắk Nông", "Bình Thuận"}},
    {"Đắk Lắk", {"Đắk Lắk", "Phú Yên"}},
    {"Hồ Chí Minh", {"Hồ Chí Minh", "Bình Dương", "Bà Rịa – Vũng Tàu"}},
    {"Đồng Nai", {"Đồng Nai", "Bình Phước"}},
    {"Tây Ninh", {"Tây Ninh", "Long An"}},
    {"Cần Thơ", {"Cần Thơ", "Sóc Trăng", "Hậu Giang"}},
    {"Vĩnh Long", {"Vĩnh Long", "Bến Tre", "Trà Vinh"}},
    {"Đồng Tháp", {"Đồng Tháp", "Tiền Giang"}},
    {"Cà Mau", {"Cà Mau", "Bạc Liêu"}},
    {"An Giang", {"An Giang", "Kiên Giang"}},
    {"Hà Nội", {"Hà Nội"}},
    {"Huế", {"Thừa Thiên Huế"}},
    {"Lai Châu", {"Lai Châu"}},
    {"Điện Biên", {"Điện Biên"}},
    {"Sơn La", {"Sơn La"}},
    {"Lạng Sơn", {"Lạng Sơn"}},
    {"Quảng Ninh", {"Quảng Ninh"}},
    {"Thanh Hóa", {"Thanh Hóa"}},
    {"Nghệ An", {"Nghệ An"}},
    {"Hà Tĩnh", {"Hà Tĩnh"}},
    {"Cao Bằng", {"Cao Bằng"}},
};

TEST(DivisionNames, VietnamsSixtyThreeProvincesMakeTheThirtyFourOfTheResolution) {
    ASSERT_EQ(kMergers.size(), 34u);
    Mergers table;
    std::set<std::string> sources;
    std::size_t rows = 0;
    for (const NamedDivision& d : namedDivisions()) {
        if (std::string(d.country) != "VNM") {
            continue;
        }
        ++rows;
        ASSERT_NE(d.name2025, nullptr) << d.name;
        EXPECT_TRUE(table[d.name2025].insert(d.name).second) << d.name << " twice";
        EXPECT_TRUE(sources.insert(d.source).second) << d.source << " twice";
    }
    EXPECT_EQ(rows, 63u);
    EXPECT_EQ(table, kMergers);
}

TEST(DivisionNames, TheMisnamedPolygonsCarryTheirCapitals) {
    // Natural Earth gives three provinces the names of their regions, and Magadan Oblast and
    // Zabaykalsky Krai names that are not theirs.
    const std::map<std::string, std::string> misnamed{
        {"Đông Bắc", "Bắc Kạn"},         {"Đồng Bằng Sông Hồng", "Hưng Yên"},
        {"Đông Nam Bộ", "Đồng Nai"},     {"Maga Buryatdan", "Магаданская область"},
        {"Chita", "Забайкальский край"},
    };
    std::map<std::string, std::string> withSeat;
    for (const NamedDivision& d : namedDivisions()) {
        if (d.seat) {
            withSeat[d.source] = d.name;
        }
    }
    EXPECT_EQ(withSeat, misnamed);
}

TEST(DivisionNames, EveryCountryOnTheMapsHasARussianName) {
    for (const char* iso :
         {"VNM", "LAO", "KHM", "THA", "CHN", "RUS", "MNG", "PRK", "KOR", "JPN", "USA"}) {
        EXPECT_FALSE(russianCountryName(QString::fromLatin1(iso)).isEmpty()) << iso;
    }
    EXPECT_EQ(russianCountryName(QStringLiteral("PRK")), QStringLiteral("КНДР"));
    EXPECT_TRUE(russianCountryName(QStringLiteral("FRA")).isEmpty());
}

}  // namespace

}  // namespace zelkora
