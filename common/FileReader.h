#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace zelkora {

// A file read from its start with ordinary reads. Never mapped: a file that another program
// shortens meanwhile cannot crash the reader. The size is taken at open(), and a file found
// shorter or longer than that while it is read fails with kChanged. Failures come back as errno
// values (0 for success), a folder as EISDIR: each caller words them for its own users. Anything
// but a regular file (a pipe, a device) reads as empty, and opening a pipe never waits.
class FileReader {
  public:
    // Not an errno value: the file changed its size while it was read.
    static constexpr int kChanged = -1;

    explicit FileReader(const QString& fileName);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    int open();

    // The size when the file was opened.
    std::uint64_t size() const { return size_; }

    // Reads the next bytes into dest: got == capacity, or fewer at the end of the file.
    int read(char* dest, std::size_t capacity, std::size_t& got);

    // The user's message for kChanged.
    static QString changedMessage(const QString& fileName);

  private:
    // Fills dest completely; a file that ends first has shrunk.
    int readExactly(char* dest, std::size_t size);
    // Past the size taken at open() the file must end.
    int checkEnd();

    QByteArray path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
};

}  // namespace zelkora
