// The PNG reader on any bytes. A file that reads is blended over a map and over itself shifted,
// then written and read back, which must give the same raster.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/ZelkoraError.h"
#include "fuzz/support/FuzzInput.h"
#include "mapimage/Compositing.h"
#include "mapimage/TPngImage.h"

namespace zelkora {

namespace {

// A file of a few bytes may validly claim a huge picture (a blank one compresses 1000:1);
// decoding it only measures memory, so such claims are left to the tests.
constexpr std::uint64_t kMaxFuzzedPixels = std::uint64_t{1} << 22;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool claimsAHugePicture(const std::uint8_t* data, std::size_t size) {
    // Signature, then IHDR's length and type, then width and height.
    return size >= 24 &&
           std::uint64_t{bigEndian32(data + 16)} * bigEndian32(data + 20) > kMaxFuzzedPixels;
}

// A mutated chunk almost never keeps its checksum, and libpng is not instrumented, so the fuzzer
// could not find its way past it. Inputs whose last byte is odd get every complete chunk's CRC
// set right; the others are read as they are, bad checksums and all.
std::vector<std::uint8_t> withCrcsSetRight(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    if (size == 0 || (data[size - 1] & 1) == 0) {
        return file;
    }
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = bigEndian32(&file[at]);
        if (length > file.size() - at - 12) {
            break;
        }
        const uLong crc = crc32(0, &file[at + 4], static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i) {
            file[at + 8 + length + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += length + 12;
    }
    return file;
}

}  // namespace

}  // namespace zelkora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    if (claimsAHugePicture(data, size)) {
        return 0;
    }
    static const QString in = fuzzFilePath("in.png");
    static const QString out = fuzzFilePath("out.png");
    const std::vector<std::uint8_t> file = withCrcsSetRight(data, size);
    writeFuzzFile(in, file.data(), file.size());
    TPngImage image;
    try {
        image.LoadFromFile(in);
    } catch (const ZelkoraError&) {
        return 0;
    }
    if (image.Width() <= 0 || image.Height() <= 0 ||
        image.byteCount() != static_cast<std::size_t>(image.Width()) *
                                 static_cast<std::size_t>(image.Height()) * 4) {
        fuzzFailure("a raster that read has no pixels or the wrong number of bytes");
    }

    TPngImage map = TPngImage::CreateBlank(37, 23);
    MergePNGLayerMy(map, image, -image.Width() / 3, 5);
    TPngImage self = image;
    MergePNGLayerMy(self, image, 1, -1);

    image.SaveToFile(out);
    TPngImage back;
    back.LoadFromFile(out);
    if (!(back == image)) {
        fuzzFailure("a raster written and read back changed");
    }
    return 0;
}
