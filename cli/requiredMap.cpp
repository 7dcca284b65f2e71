#include "cli/requiredMap.h"

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "mapimage/MapAssembly.h"

namespace zelkora {

TPngImage requiredMap(const QString& dataDir, int map, bool hiRes,
                      const std::array<bool, kLayerCount>& layers) {
    TPngImage a;
    if (!assembleMap(a, dataDir, kMapCaptions[map], hiRes, layers)) {
        throw ZelkoraError(QStringLiteral("Нет основы карты: файл «%1» не найден")
                               .arg(visibleText(baseImagePath(dataDir, kMapCaptions[map], hiRes))));
    }
    return a;
}

}  // namespace zelkora
