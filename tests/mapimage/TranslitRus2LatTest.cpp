#include <gtest/gtest.h>

#include "mapimage/DataPaths.h"
#include "mapimage/TranslitRus2Lat.h"

namespace zelkora {

namespace {

struct TranslitCase {
    const char* name;
    const char* in;
    const char* out;
};

void PrintTo(const TranslitCase& c, std::ostream* os) {
    *os << c.name;
}

class Translit : public testing::TestWithParam<TranslitCase> {};

TEST_P(Translit, Converts) {
    EXPECT_EQ(TranslitRus2Lat(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Names, Translit,
    testing::Values(TranslitCase{"Empty", "", ""},
                    TranslitCase{"SoftSignVanishes", "Вьетнам", "Vetnam"},
                    TranslitCase{"BlankBecomesUnderscore", "Дальний Восток", "Dalniy_Vostok"},
                    TranslitCase{"UpperCapitalisesFirstLetterOnly", "Ёлка Щука", "Yolka_Shchuka"},
                    TranslitCase{"HardSignVanishes", "объём", "obyom"},
                    TranslitCase{"UpperSigns", "ЪЫЬЭЮЯ", "YEYuYa"},
                    TranslitCase{"LatinPassesThrough", "Hi-Res", "Hi-Res"},
                    TranslitCase{"BlankAmongLatin", "Hi-Res 2", "Hi-Res_2"},
                    TranslitCase{"OtherWhitespacePasses", "а\tб\u00a0в", "a\tb\u00a0v"},
                    TranslitCase{"LayerCaption", "Границы государств", "Granitsy_gosudarstv"},
                    TranslitCase{"NonRussianCyrillicPasses", "їє", "їє"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataPaths, FolderAndFileNames) {
    const QString data = QStringLiteral("/d/");
    EXPECT_EQ(baseImagePath(data, kMapCaptions[1], true),
              QStringLiteral("/d/maps/Dalniy_Vostok_HiRes/blank.png"));
    EXPECT_EQ(baseImagePath(data, kMapCaptions[0], false),
              QStringLiteral("/d/maps/Vetnam/blank.png"));
    const QStringList files = {QStringLiteral("Setka.png"), QStringLiteral("Reki.png"),
                               QStringLiteral("Granitsy_rayonov.png"),
                               QStringLiteral("Granitsy_gosudarstv.png"),
                               QStringLiteral("Beregovye_linii.png")};
    for (int i = 0; i < kLayerCount; ++i) {
        EXPECT_EQ(layerImagePath(data, kMapCaptions[0], false, kLayerCaptions[i]),
                  QStringLiteral("/d/maps/Vetnam/") + files[i]);
    }
    EXPECT_EQ(iconPath(data, 8), QStringLiteral("/d/icons/8.png"));
    EXPECT_TRUE(programFolder().endsWith(QLatin1Char('/')));
}

}  // namespace

}  // namespace zelkora
