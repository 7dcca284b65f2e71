#include "common/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "common/VisibleText.h"

namespace zelkora {

FileReader::FileReader(const QString& fileName) : path_(QFile::encodeName(fileName)) {}

FileReader::~FileReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int FileReader::open() {
    if (path_.isEmpty()) {
        return ENOENT;
    }
    // Non-blocking, so a pipe without a writer does not hang the open.
    const int fd = ::open(path_.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return 0;  // read as empty
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

int FileReader::read(char* dest, std::size_t capacity, std::size_t& got) {
    got = 0;
    if (fd_ < 0 || capacity == 0) {
        return 0;
    }
    const std::uint64_t left = size_ - position_;
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, left));
    if (const int error = readExactly(dest, wanted)) {
        return error;
    }
    got = wanted;
    return wanted < capacity ? checkEnd() : 0;
}

int FileReader::readExactly(char* dest, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd_, dest + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return kChanged;
        }
        done += static_cast<std::size_t>(n);
        position_ += static_cast<std::uint64_t>(n);
    }
    return 0;
}

int FileReader::checkEnd() {
    char extra = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, &extra, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        return n == 0 ? 0 : kChanged;
    }
}

QString FileReader::changedMessage(const QString& fileName) {
    return QStringLiteral(
               "Файл «%1» изменился, пока его читали: прочитайте его снова, когда "
               "другая программа закончит его записывать")
        .arg(visibleText(fileName));
}

}  // namespace zelkora
