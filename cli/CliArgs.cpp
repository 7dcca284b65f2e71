#include "cli/CliArgs.h"

#include <cmath>

#include "common/VisibleText.h"
#include "mapimage/DataPaths.h"

namespace zelkora {

namespace {

bool looksLikeNumber(const QString& word) {
    bool ok = false;
    word.toDouble(&ok);
    return ok;
}

}  // namespace

CliArgs::CliArgs(const QStringList& args, const std::set<QString>& valued,
                 const std::set<QString>& flags) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-") ||
            looksLikeNumber(word)) {
            positional_ << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            positional_ << args.mid(i + 1);
            break;
        }
        const QString name = word.mid(2);
        if (!word.startsWith(QLatin1String("--")) ||
            (!valued.contains(name) && !flags.contains(name))) {
            throw UsageError(QStringLiteral("Неизвестный параметр: %1").arg(visibleText(word)));
        }
        if (flags.contains(name)) {
            flags_.insert(name);
            continue;
        }
        if (i + 1 >= args.size()) {
            throw UsageError(QStringLiteral("Параметру %1 нужно значение").arg(visibleText(word)));
        }
        values_[name] = args[++i];
    }
}

bool CliArgs::has(const QString& name) const {
    return flags_.contains(name) || values_.contains(name);
}

QString CliArgs::value(const QString& name, const QString& fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

QString CliArgs::required(const QString& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) {
        throw UsageError(QStringLiteral("Не задан параметр --%1").arg(name));
    }
    return it->second;
}

int CliArgs::intValue(const QString& name, int fallback, int min, int max) const {
    const auto it = values_.find(name);
    if (it == values_.end()) {
        return fallback;
    }
    bool ok = false;
    const int v = it->second.toInt(&ok);
    if (!ok || v < min || v > max) {
        throw UsageError(QStringLiteral("--%1 ждёт целое число от %2 до %3, а не \"%4\"")
                             .arg(name)
                             .arg(min)
                             .arg(max)
                             .arg(visibleText(it->second)));
    }
    return v;
}

int CliArgs::mapIndex() const {
    const QString text = required(QStringLiteral("map"));
    if (text == QLatin1String("0")) {
        return 0;
    }
    if (text == QLatin1String("1")) {
        return 1;
    }
    throw UsageError(QStringLiteral("--map ждёт 0 (Вьетнам) или 1 (Дальний Восток), а не \"%1\"")
                         .arg(visibleText(text)));
}

std::array<bool, kLayerCount> CliArgs::layers() const {
    const auto it = values_.find(QStringLiteral("layers"));
    if (it == values_.end()) {
        return kDefaultLayers;
    }
    const QString& text = it->second;
    std::array<bool, kLayerCount> result{};
    bool ok = text.size() == kLayerCount;
    for (qsizetype i = 0; ok && i < kLayerCount; ++i) {
        ok = text[i] == QLatin1Char('0') || text[i] == QLatin1Char('1');
        result[static_cast<std::size_t>(i)] = text[i] == QLatin1Char('1');
    }
    if (!ok) {
        throw UsageError(
            QStringLiteral("--layers ждёт пять флагов 0/1 (например 11011), а не \"%1\"")
                .arg(visibleText(text)));
    }
    return result;
}

QString CliArgs::dataDir() const {
    const auto it = values_.find(QStringLiteral("data"));
    if (it == values_.end()) {
        return programFolder();
    }
    QString dir = it->second;
    if (!dir.endsWith(QLatin1Char('/'))) {
        dir += QLatin1Char('/');
    }
    return dir;
}

double parseNumberArg(const QString& text, const QString& what) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        throw UsageError(QStringLiteral("%1: \"%2\" не число").arg(what, visibleText(text)));
    }
    return v;
}

}  // namespace zelkora
