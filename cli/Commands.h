#pragma once

#include <QStringList>

namespace zelkora {

// One function per zelkora-cli command; args are the words after the command name.
// Each returns the exit status and throws ZelkoraError (or UsageError) on failure.
int runProject(const QStringList& args);
int runTranslit(const QStringList& args);
int runAssemble(const QStringList& args);
int runNormalize(const QStringList& args);
int runImport(const QStringList& args);
int runRender(const QStringList& args);
int runFigure(const QStringList& args);
int runExport(const QStringList& args);

}  // namespace zelkora
