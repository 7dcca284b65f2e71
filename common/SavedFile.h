#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <functional>

namespace zelkora {

// Writes the file's contents to an open stream; false with the reason in error.
using FileEncoder = std::function<bool(std::FILE* file, QString& error)>;

// Writes a whole file through encode: into a temporary file beside it (AtomicFile), flushed to
// the disk and renamed into place, so a failure leaves no broken file and an old file whole.
// Throws ZelkoraError "Cannot create file "<name>". <reason>" when the file cannot be created or
// put in place, and "Не удалось записать файл "<name>". <reason>" when encoding or writing fails.
void saveFile(const QString& fileName, const FileEncoder& encode);

// The same for contents already in memory.
void saveFile(const QString& fileName, const QByteArray& bytes);

}  // namespace zelkora
