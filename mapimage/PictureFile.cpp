#include "mapimage/PictureFile.h"

#include <cerrno>
#include <cstring>

namespace zelkora {

QString writeFailureReason(std::FILE* file, const char* libraryMessage) {
    if (std::ferror(file) && errno != 0) {
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    return QString::fromLocal8Bit(libraryMessage);
}

}  // namespace zelkora
