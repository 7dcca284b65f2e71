#include "shell/FigureSettings.h"

#include <QSettings>
#include <QStringList>

#include "cli/CliArgs.h"
#include "cli/FigureArgs.h"

namespace zelkora {

namespace {

const QString kArguments = QStringLiteral("figure/arguments");
const QString kLastFile = QStringLiteral("figure/file");

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
                     QStringLiteral("zelkora"));
}

}  // namespace

FigureSettings FigureSettings::load(const FigureOptions& base) {
    const QSettings settings = userSettings();
    FigureSettings loaded{base, settings.value(kLastFile).toString()};
    const QStringList words = settings.value(kArguments).toStringList();
    if (words.isEmpty()) {
        return loaded;
    }
    try {
        // The format is among the words; the name only completes them.
        FigureOptions& o = loaded.options;
        o = figureRequestFromArgs(words +
                                  QStringList{QStringLiteral("--out"), QStringLiteral("figure")})
                .options;
        o.dataDir = base.dataDir;
        o.map = base.map;
        o.layers = base.layers;
    } catch (const ZelkoraError&) {
        loaded.options = base;
    }
    return loaded;
}

void FigureSettings::save() const {
    FigureOptions stored = options;
    stored.dataDir.clear();
    QSettings settings = userSettings();
    settings.setValue(kArguments, figureArgs(stored));
    settings.setValue(kLastFile, lastFile);
}

}  // namespace zelkora
