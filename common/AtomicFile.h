#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdio>

namespace zelkora {

// A whole file written into a temporary file beside it and renamed into place on commit, so a
// failure leaves an old file whole. Through a symbolic link the file it points to is replaced and
// the link stays. A replaced file keeps its mode; a new one gets 0666 less the umask. Failures
// come back as errno values (0 for success): each caller words them for its own users. Until
// commit succeeds the destructor removes the temporary file.
class AtomicFile {
  public:
    explicit AtomicFile(const QString& fileName);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Refuses a folder or a write-protected file by that name, then creates the temporary file.
    int open();
    // Either write() or stream(), not both: the stream's buffer would reorder the bytes.
    int write(const char* data, std::size_t size);
    // A stream on the temporary file, owned by this object; nullptr with errno set on failure.
    std::FILE* stream();
    // Flushes the file to the disk.
    int sync();
    // Ends the writing; a late write error shows up here.
    int close();
    // Closes if still open, then renames the temporary file onto the target.
    int commit();

    // The file that is replaced: the given name, or the file its link points to.
    const QByteArray& target() const { return target_; }

  private:
    QByteArray target_;
    QByteArray temp_;
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
};

}  // namespace zelkora
