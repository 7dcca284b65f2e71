#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace zelkora {

// Captions of the map selector's items, by map index. They double as folder names.
inline const QStringList kMapCaptions = {QStringLiteral("Вьетнам"),
                                         QStringLiteral("Дальний Восток")};

// Captions of the five layer check boxes in blending order. They double as file names.
inline const QStringList kLayerCaptions = {
    QStringLiteral("Сетка"), QStringLiteral("Реки"), QStringLiteral("Границы районов"),
    QStringLiteral("Границы государств"), QStringLiteral("Береговые линии")};

inline constexpr int kLayerCount = 5;
// Checked state of the five layers at start-up: all but district boundaries.
inline constexpr std::array<bool, kLayerCount> kDefaultLayers = {true, true, false, true, true};

// The folder of the running program file, with a trailing "/". Looked up anew on every call.
QString programFolder();

// dataDir is a folder ending in "/" (programFolder(), or zelkora-cli's --data).
// <dataDir>maps/<translit(mapCaption)>[_HiRes]/
QString mapFolderPath(const QString& dataDir, const QString& mapCaption, bool hiRes);
// ... /blank.png
QString baseImagePath(const QString& dataDir, const QString& mapCaption, bool hiRes);
// ... /<translit(layerCaption)>.png
QString layerImagePath(const QString& dataDir, const QString& mapCaption, bool hiRes,
                       const QString& layerCaption);
// <dataDir>icons/<type>.png
QString iconPath(const QString& dataDir, int type);

}  // namespace zelkora
