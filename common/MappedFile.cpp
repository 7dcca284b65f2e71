#include "common/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

MappedFile::MappedFile(const QString& fileName) : path_(QFile::encodeName(fileName)) {}

MappedFile::~MappedFile() {
    if (data_) {
        ::munmap(const_cast<char*>(data_), size_);
    }
}

int MappedFile::open() {
    if (path_.isEmpty()) {
        return ENOENT;
    }
    const int fd = ::open(path_.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat st {};
    int error = 0;
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
    } else if (st.st_size > 0) {
        const auto size = static_cast<std::size_t>(st.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped == MAP_FAILED) {
            error = errno;
        } else {
            data_ = static_cast<const char*>(mapped);
            size_ = size;
        }
    }
    ::close(fd);
    return error;
}
