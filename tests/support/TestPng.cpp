#include "tests/support/TestPng.h"

#include <gtest/gtest.h>

namespace zelkora {

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::vector<PngChunk> pngChunks(const QByteArray& file) {
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());
    const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<PngChunk> chunks;
    if (bytes.size() < 8 || !std::equal(signature, signature + 8, bytes.begin())) {
        ADD_FAILURE() << "no PNG signature";
        return chunks;
    }
    for (std::size_t at = 8; at < bytes.size();) {
        if (at + 12 > bytes.size() || at + 12 + bigEndian32(&bytes[at]) > bytes.size()) {
            ADD_FAILURE() << "chunk at byte " << at << " is cut short";
            break;
        }
        const std::uint32_t length = bigEndian32(&bytes[at]);
        chunks.push_back({std::string(bytes.begin() + at + 4, bytes.begin() + at + 8),
                          {bytes.begin() + at + 8, bytes.begin() + at + 8 + length}});
        at += 12 + length;
    }
    return chunks;
}

}  // namespace zelkora
