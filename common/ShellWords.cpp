#include "common/ShellWords.h"

#include <algorithm>

namespace zelkora {

QString shellWord(const QString& word) {
    const bool bare = !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.isLetterOrNumber() || QStringLiteral("_-./,:=+@%").contains(c);
    });
    if (bare) {
        return word;
    }
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString shellCommand(const QStringList& words) {
    QStringList quoted;
    for (const QString& word : words) {
        quoted << shellWord(word);
    }
    return quoted.join(QLatin1Char(' '));
}

}  // namespace zelkora
