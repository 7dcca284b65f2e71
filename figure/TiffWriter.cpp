#include "figure/TiffWriter.h"

#include <tiffio.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <exception>
#include <memory>

#include "mapimage/ParallelJobs.h"
#include "mapimage/PictureFile.h"

namespace zelkora {

namespace {

// libtiff's input and output on an open stream.
tmsize_t readProc(thandle_t handle, void* data, tmsize_t size) {
    return static_cast<tmsize_t>(
        std::fread(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(handle)));
}

tmsize_t writeProc(thandle_t handle, void* data, tmsize_t size) {
    return static_cast<tmsize_t>(
        std::fwrite(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(handle)));
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<std::FILE*>(handle);
    if (fseeko(file, static_cast<off_t>(offset), whence) != 0) {
        return static_cast<toff_t>(-1);
    }
    return static_cast<toff_t>(ftello(file));
}

int closeProc(thandle_t) {
    return 0;  // the stream belongs to the caller
}

toff_t sizeProc(thandle_t handle) {
    auto* file = static_cast<std::FILE*>(handle);
    const off_t here = ftello(file);
    fseeko(file, 0, SEEK_END);
    const off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return static_cast<toff_t>(end);
}

int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}

void unmapProc(thandle_t, void*, toff_t) {}

int keepError(TIFF*, void* userData, const char*, const char* format, va_list args) {
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    auto* error = static_cast<std::string*>(userData);
    if (error->empty()) {
        *error = message;
    }
    return 1;
}

int quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffClose {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// About this many bytes of picture to a strip: a job for one core.
constexpr int kStripBytes = 256 * 1024;

constexpr int kClear = 256;
constexpr int kEndOfInformation = 257;
constexpr int kFirstCode = 258;
constexpr int kMinBits = 9;
constexpr int kMaxBits = 12;
constexpr int kFullTable = (1 << kMaxBits) - 2;

// Codes packed most significant bit first.
class CodeWriter {
  public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void put(int code, int bits) {
        data_ = (data_ << bits) | static_cast<std::uint32_t>(code);
        count_ += bits;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(data_ >> count_));
        }
    }
    void flush() {
        if (count_ > 0) {
            out_.push_back(static_cast<std::uint8_t>(data_ << (8 - count_)));
        }
        count_ = 0;
    }

  private:
    std::vector<std::uint8_t>& out_;
    std::uint32_t data_ = 0;
    int count_ = 0;
};

// The string table as a hash of (prefix code, next byte) to code, each slot one word: the
// table's generation, the code and the key. A slot of an older generation is free, so a clear
// costs nothing.
//
// After the predictor most bytes of a map are 0 (a sample like the one to its left), so each
// code's string followed by 0 also has a small table of its own, which stays in the cache.
class StringTable {
  public:
    StringTable() : slots_(kSlots, 0), zeroChild_(1 << kMaxBits, 0) {}
    void clear() {
        generation_ += std::uint64_t{1} << 32;
        ++zeroGeneration_;
    }
    // The code of the prefix's string followed by 0, or -1.
    int zeroChild(int prefix) const {
        const std::uint32_t word = zeroChild_[static_cast<std::size_t>(prefix)];
        return (word >> 12) == zeroGeneration_ ? static_cast<int>(word & 0xFFF) : -1;
    }
    void addZeroChild(int prefix, int code) {
        zeroChild_[static_cast<std::size_t>(prefix)] =
            (zeroGeneration_ << 12) | static_cast<std::uint32_t>(code);
    }
    // The slot of the key: holding it (its code then in code), or free for it.
    std::size_t find(std::uint32_t key, int& code) const {
        std::size_t slot = (key * 2654435761u) >> (32 - kSlotBits);
        for (;;) {
            const std::uint64_t word = slots_[slot];
            if ((word & kGenerationMask) != generation_) {
                code = -1;
                return slot;
            }
            if ((word & kKeyMask) == key) {
                code = static_cast<int>((word >> 20) & 0xFFF);
                return slot;
            }
            slot = (slot + 1) & (kSlots - 1);
        }
    }
    void add(std::size_t slot, std::uint32_t key, int code) {
        slots_[slot] = generation_ | (static_cast<std::uint64_t>(code) << 20) | key;
    }

  private:
    static constexpr int kSlotBits = 13;  // twice the codes the table holds
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static constexpr std::uint64_t kGenerationMask = ~std::uint64_t{0} << 32;
    static constexpr std::uint64_t kKeyMask = (std::uint64_t{1} << 20) - 1;
    std::vector<std::uint64_t> slots_;
    std::uint64_t generation_ = std::uint64_t{1} << 32;
    std::vector<std::uint32_t> zeroChild_;
    std::uint32_t zeroGeneration_ = 1;  // a strip's clears never reach 2^20
};

}  // namespace

std::vector<std::uint8_t> TiffWriter::lzw(const std::uint8_t* data, std::size_t size) {
    // Written into a buffer kept by the thread, then copied to a block of its own size: a fresh
    // buffer of the strip's size would be fresh pages from the system for every strip.
    thread_local std::vector<std::uint8_t> out;
    out.clear();
    CodeWriter writer(out);
    StringTable table;
    int bits = kMinBits;
    int next = kFirstCode;
    writer.put(kClear, bits);
    if (size == 0) {
        writer.put(kEndOfInformation, bits);
        writer.flush();
        return {out.begin(), out.end()};
    }
    // The step after a new code is put: the table grows, its codes widen one code early (as
    // the decoder, one entry behind, expects), and a full table starts again.
    const auto grow = [&] {
        ++next;
        if (next == kFullTable) {
            writer.put(kClear, bits);
            table.clear();
            next = kFirstCode;
            bits = kMinBits;
        } else if (next > (1 << bits) - 1) {
            ++bits;
        }
    };
    int prefix = data[0];
    for (std::size_t i = 1; i < size; ++i) {
        const std::uint8_t c = data[i];
        if (c == 0) {
            const int code = table.zeroChild(prefix);
            if (code >= 0) {
                prefix = code;
                continue;
            }
            writer.put(prefix, bits);
            table.addZeroChild(prefix, next);
            grow();
            prefix = 0;
            continue;
        }
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | c;
        int code = 0;
        const std::size_t slot = table.find(key, code);
        if (code >= 0) {
            prefix = code;
            continue;
        }
        writer.put(prefix, bits);
        table.add(slot, key, next);
        grow();
        prefix = c;
    }
    writer.put(prefix, bits);
    grow();
    writer.put(kEndOfInformation, bits);
    writer.flush();
    return {out.begin(), out.end()};
}

bool TiffWriter::write(std::FILE* file, int width, int height, const RowSource& rows,
                       QString& error) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const int rowsPerStrip = std::max(1, kStripBytes / static_cast<int>(rowBytes));
    const std::size_t stripCount =
        static_cast<std::size_t>((height + rowsPerStrip - 1) / rowsPerStrip);

    // Each strip: its rows, the horizontal predictor (each sample less the same sample of the
    // pixel to its left), then LZW.
    std::vector<std::vector<std::uint8_t>> strips(stripCount);
    const auto failures = runJobs(stripCount, [&](std::size_t s) {
        const int first = static_cast<int>(s) * rowsPerStrip;
        const int count = std::min(rowsPerStrip, height - first);
        // One buffer per thread: a fresh one per strip would be fresh pages from the system.
        thread_local std::vector<std::uint8_t> raw;
        raw.resize(rowBytes * static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            std::uint8_t* row = raw.data() + rowBytes * static_cast<std::size_t>(i);
            rows(first + i, row);
            for (std::size_t x = rowBytes - 1; x >= 3; --x) {
                row[x] = static_cast<std::uint8_t>(row[x] - row[x - 3]);
            }
        }
        strips[s] = lzw(raw.data(), raw.size());
    });
    for (const std::exception_ptr& e : failures) {
        if (e) {
            std::rethrow_exception(e);
        }
    }

    std::string message;
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), keepError, &message);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
    errno = 0;
    const std::unique_ptr<TIFF, TiffClose> tiff(
        TIFFClientOpenExt("figure.tif", "w", file, readProc, writeProc, seekProc, closeProc,
                          sizeProc, mapProc, unmapProc, options.get()));
    const auto fail = [&] {
        error = writeFailureReason(file, message.c_str());
        return false;
    };
    if (!tiff) {
        return fail();
    }
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(rowsPerStrip));
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(dpi_));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(dpi_));
    TIFFSetField(t, TIFFTAG_SOFTWARE, "Zelkora");
    for (std::size_t s = 0; s < stripCount; ++s) {
        if (TIFFWriteRawStrip(t, static_cast<std::uint32_t>(s), strips[s].data(),
                              static_cast<tmsize_t>(strips[s].size())) < 0) {
            return fail();
        }
    }
    if (!TIFFFlush(t)) {
        return fail();
    }
    return true;
}

}  // namespace zelkora
