#include "shell/WindowSettings.h"

#include <QSettings>
#include <optional>

#include "plot/zelkora.h"

namespace zelkora {

namespace {

const QString kMap = QStringLiteral("window/map");
const QString kLayers = QStringLiteral("window/layers");
const QString kHiRes = QStringLiteral("window/hires");
const QString kMarkerSize = QStringLiteral("window/markerSize");
const QString kRed = QStringLiteral("window/red");

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
                     QStringLiteral("zelkora"));
}

// A whole number within min..max, written as nothing but its digits.
std::optional<int> wholeNumber(const QSettings& settings, const QString& key, int min, int max) {
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    if (!ok || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

// "true" or "false", as QSettings writes a bool; anything else is no answer.
std::optional<bool> yesOrNo(const QSettings& settings, const QString& key) {
    const QString text = settings.value(key).toString();
    if (text == QLatin1String("true")) {
        return true;
    }
    if (text == QLatin1String("false")) {
        return false;
    }
    return std::nullopt;
}

// The layers as "--layers" writes them: five 0s and 1s, grid first.
std::optional<std::array<bool, kLayerCount>> layerFlags(const QSettings& settings) {
    const QString text = settings.value(kLayers).toString();
    if (text.size() != kLayerCount) {
        return std::nullopt;
    }
    std::array<bool, kLayerCount> layers{};
    for (int i = 0; i < kLayerCount; ++i) {
        if (text[i] != QLatin1Char('0') && text[i] != QLatin1Char('1')) {
            return std::nullopt;
        }
        layers[static_cast<std::size_t>(i)] = text[i] == QLatin1Char('1');
    }
    return layers;
}

}  // namespace

WindowSettings WindowSettings::load() {
    const QSettings settings = userSettings();
    const WindowSettings defaults;
    WindowSettings loaded;
    loaded.map = wholeNumber(settings, kMap, 0, kMapCount - 1).value_or(defaults.map);
    loaded.layers = layerFlags(settings).value_or(defaults.layers);
    loaded.hiRes = yesOrNo(settings, kHiRes).value_or(defaults.hiRes);
    loaded.markerSize =
        wholeNumber(settings, kMarkerSize, pntSizeMin, pntSizeMax).value_or(defaults.markerSize);
    loaded.red = yesOrNo(settings, kRed).value_or(defaults.red);
    return loaded;
}

void WindowSettings::save() const {
    QSettings settings = userSettings();
    settings.setValue(kMap, map);
    QString flags;
    for (const bool on : layers) {
        flags += on ? QLatin1Char('1') : QLatin1Char('0');
    }
    settings.setValue(kLayers, flags);
    settings.setValue(kHiRes, hiRes);
    settings.setValue(kMarkerSize, markerSize);
    settings.setValue(kRed, red);
}

}  // namespace zelkora
