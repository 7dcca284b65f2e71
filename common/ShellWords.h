#pragma once

#include <QString>
#include <QStringList>

namespace zelkora {

// A word as a POSIX shell reads it back: bare when it holds nothing the shell treats specially,
// in single quotes otherwise.
QString shellWord(const QString& word);

// A command line of words, each as shellWord writes it, parted by blanks.
QString shellCommand(const QStringList& words);

}  // namespace zelkora
