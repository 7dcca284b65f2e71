#include "cli/CliArgs.h"
#include "cli/Commands.h"

// Placeholder until the table core lands.
int runImport(const QStringList&) {
    throw ZelkoraError("Команда import ещё не готова");
}
