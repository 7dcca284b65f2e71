#pragma once

#include <QString>
#include <cstdio>

#include "common/SavedFile.h"

namespace zelkora {

// Writes the encoded data to an open stream; false with the reason in error.
using PictureEncoder = FileEncoder;

// Writes a picture file through encode as saveFile (common/SavedFile.h) writes every whole file:
// a failure leaves no broken file and an old file whole. Throws ZelkoraError "Cannot create file
// "<name>". <reason>" when the file cannot be created or put in place, and "Не удалось записать
// файл "<name>". <reason>" when encoding or writing fails.
inline void savePictureFile(const QString& fileName, const PictureEncoder& encode) {
    saveFile(fileName, encode);
}

// Why writing into file failed: the system's reason when the stream failed, else the encoding
// library's message. Clear errno before the write.
QString writeFailureReason(std::FILE* file, const char* libraryMessage);

}  // namespace zelkora
