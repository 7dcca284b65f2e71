#include "cli/CliArgs.h"
#include "cli/Commands.h"

// Placeholder until the mapimage core lands.
int runAssemble(const QStringList&) {
    throw ZelkoraError("Команда assemble ещё не готова");
}
