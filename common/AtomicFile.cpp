#include "common/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace zelkora {

AtomicFile::AtomicFile(const QString& fileName) : target_(QFile::encodeName(fileName)) {}

AtomicFile::~AtomicFile() {
    close();
    if (!temp_.isEmpty()) {
        ::unlink(temp_.constData());
    }
}

int AtomicFile::open() {
    if (target_.isEmpty()) {
        return ENOENT;
    }
    // Through a link the file it points to is replaced, not the link.
    // Followed one link at a time, so a link to a file not made yet still names where it goes.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat link {};
        if (::lstat(target_.constData(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            break;
        }
        QByteArray dest(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target_.constData(), dest.data(), dest.size());
        if (n <= 0 || n >= dest.size()) {
            break;
        }
        dest.truncate(n);
        if (!dest.startsWith('/')) {
            dest.prepend(target_.left(target_.lastIndexOf('/') + 1));
        }
        target_ = dest;
    }
    // Creating the file in place would refuse a folder or a write-protected file; the rename alone
    // would replace them.
    mode_t mode = 0666;
    bool replacing = false;
    struct stat existing {};
    if (::stat(target_.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            return EISDIR;
        }
        if (::access(target_.constData(), W_OK) != 0) {
            return errno;
        }
        mode = existing.st_mode & 07777;
        replacing = true;
    }
    // A short name of its own, so a target near the length limit still gets one.
    const QByteArray dir = target_.left(target_.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = dir + ".zelkora-" +
                                QByteArray::number(QRandomGenerator::global()->generate(), 36) +
                                ".tmp";
        fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ >= 0) {
            temp_ = name;
            if (replacing) {
                ::fchmod(fd_, mode);  // the umask narrowed it
            }
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int AtomicFile::write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

std::FILE* AtomicFile::stream() {
    if (!stream_ && fd_ >= 0) {
        stream_ = ::fdopen(fd_, "wb");
    }
    return stream_;
}

int AtomicFile::sync() {
    if (stream_ && std::fflush(stream_) != 0) {
        return errno;
    }
    return ::fsync(fd_) == 0 ? 0 : errno;
}

int AtomicFile::close() {
    if (fd_ < 0) {
        return 0;
    }
    errno = 0;
    const int rc = stream_ ? std::fclose(stream_) : ::close(fd_);
    const int error = errno;
    stream_ = nullptr;
    fd_ = -1;
    return rc == 0 ? 0 : (error != 0 ? error : EIO);
}

int AtomicFile::commit() {
    if (temp_.isEmpty()) {
        return EBADF;
    }
    if (const int error = close()) {
        return error;
    }
    if (::rename(temp_.constData(), target_.constData()) != 0) {
        return errno;
    }
    temp_.clear();
    return 0;
}

}  // namespace zelkora
