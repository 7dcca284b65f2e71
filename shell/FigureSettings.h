#pragma once

#include <QString>

#include "figure/FigureOptions.h"

namespace zelkora {

// What the figure dialog remembers between runs: its options and the last file it saved. They
// are kept in the user's settings (QSettings, organisation and application "zelkora") as the
// words of `zelkora-cli figure`, which read them back with the command line's own checks.
struct FigureSettings {
    FigureOptions options;
    QString lastFile;

    // The settings last saved, over base: the data folder, the map and its layers stay base's,
    // the window's. base itself where nothing was saved or what was saved no longer reads.
    static FigureSettings load(const FigureOptions& base);
    void save() const;
};

}  // namespace zelkora
