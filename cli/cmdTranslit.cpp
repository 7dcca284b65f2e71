#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "mapimage/TranslitRus2Lat.h"

namespace zelkora {

int runTranslit(const QStringList& args) {
    if (args.size() != 1) {
        throw UsageError("translit ждёт один текст");
    }
    std::printf("%s\n", TranslitRus2Lat(args[0]).toUtf8().constData());
    return 0;
}

}  // namespace zelkora
