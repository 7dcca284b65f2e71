#include "cli/CliArgs.h"
#include "cli/Commands.h"

// Placeholder until the table core lands.
int runNormalize(const QStringList&) {
    throw ZelkoraError("Команда normalize ещё не готова");
}
