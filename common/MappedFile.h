#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string_view>

// A whole file for reading, mapped rather than read: a large file costs only the pages looked
// at. Failures come back as errno values (0 for success), a folder as EISDIR: each caller words
// them for its own users. A file that the system reports as empty (a pipe, say) reads as empty.
class MappedFile {
  public:
    explicit MappedFile(const QString& fileName);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    int open();

    // The file's bytes while this object lives; empty before a successful open.
    std::string_view bytes() const { return {data_, size_}; }

  private:
    QByteArray path_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};
