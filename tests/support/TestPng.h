#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

namespace zelkora {

// The structure of a PNG file, for tests that check what was written.

struct PngChunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

// The chunks of a PNG file in order. Fails the running test where the signature is missing or a
// chunk is cut short, and returns the chunks before that point.
std::vector<PngChunk> pngChunks(const QByteArray& file);

// A 4-byte big-endian number, as PNG stores them.
std::uint32_t bigEndian32(const std::uint8_t* bytes);

}  // namespace zelkora
