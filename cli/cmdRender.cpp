#include "cli/CliArgs.h"
#include "cli/Commands.h"

// Placeholder until the plot core lands.
int runRender(const QStringList&) {
    throw ZelkoraError("Команда render ещё не готова");
}
