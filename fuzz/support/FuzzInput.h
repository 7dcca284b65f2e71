#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

namespace zelkora {

// The fuzzer's bytes as the readers get them.

// A file of that name in a folder of this process's own, made once and removed at exit.
QString fuzzFilePath(const char* name);

// Writes the bytes into the file, replacing what it held; aborts when it cannot.
void writeFuzzFile(const QString& path, const std::uint8_t* data, std::size_t size);

// The bytes as text: after a first byte with its low bit clear, the rest as UTF-8; after one
// with it set, as raw UTF-16 code units, so lone surrogates and any code unit get through.
QString fuzzText(const std::uint8_t* data, std::size_t size);

// Stops the run with a message: libFuzzer keeps the input that did it.
[[noreturn]] void fuzzFailure(const char* what);

}  // namespace zelkora
