#include "mapimage/PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mapimage/ParallelJobs.h"
#include "mapimage/PictureFile.h"

namespace zelkora {

namespace {

// Rows are compressed in blocks of about this many bytes: enough work to share out, and so few
// restarts of the compressor's dictionary that the file grows by a fraction of a per cent.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

enum Filter : std::uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

constexpr std::uint8_t paethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Writes the filter byte and the filtered row to out; prev is the row above (zeros above the
// first row), bpp the bytes per pixel.
void filterRow(Filter filter, const std::uint8_t* row, const std::uint8_t* prev, std::size_t bytes,
               std::size_t bpp, std::uint8_t* out) {
    *out++ = filter;
    switch (filter) {
        case kNone:
            std::memcpy(out, row, bytes);
            return;
        case kSub:
            std::memcpy(out, row, bpp);
            for (std::size_t i = bpp; i < bytes; ++i) {
                out[i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
            }
            return;
        case kUp:
            for (std::size_t i = 0; i < bytes; ++i) {
                out[i] = static_cast<std::uint8_t>(row[i] - prev[i]);
            }
            return;
        case kAverage:
            for (std::size_t i = 0; i < bytes; ++i) {
                const int left = i >= bpp ? row[i - bpp] : 0;
                out[i] = static_cast<std::uint8_t>(row[i] - ((left + prev[i]) >> 1));
            }
            return;
        case kPaeth:
            for (std::size_t i = 0; i < bytes; ++i) {
                const int left = i >= bpp ? row[i - bpp] : 0;
                const int upLeft = i >= bpp ? prev[i - bpp] : 0;
                out[i] = static_cast<std::uint8_t>(row[i] - paethPredictor(left, prev[i], upLeft));
            }
            return;
    }
}

std::uint64_t signedMagnitude(const std::uint8_t* filtered, std::size_t bytes) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        sum += static_cast<std::uint64_t>(std::abs(static_cast<std::int8_t>(filtered[i])));
    }
    return sum;
}

// The least-magnitude filter for the row, written to out; trial holds the other candidates.
void filterAdaptive(const std::uint8_t* row, const std::uint8_t* prev, std::size_t bytes,
                    std::size_t bpp, std::uint8_t* out, std::vector<std::uint8_t>& trial) {
    trial.resize(bytes + 1);
    filterRow(kNone, row, prev, bytes, bpp, out);
    std::uint64_t best = signedMagnitude(out + 1, bytes);
    for (const Filter filter : {kSub, kUp, kAverage, kPaeth}) {
        filterRow(filter, row, prev, bytes, bpp, trial.data());
        const std::uint64_t sum = signedMagnitude(trial.data() + 1, bytes);
        if (sum < best) {
            best = sum;
            std::memcpy(out, trial.data(), bytes + 1);
        }
    }
}

// The header that zlib would write for this level: deflate, a 32 KiB window, the level class.
std::array<std::uint8_t, 2> zlibHeader(int level) {
    const int levelClass = level == Z_DEFAULT_COMPRESSION ? 2
                           : level < 2                    ? 0
                           : level < 6                    ? 1
                           : level == 6                   ? 2
                                                          : 3;
    unsigned header = (0x78u << 8) | (static_cast<unsigned>(levelClass) << 6);
    header += 31 - header % 31;
    return {static_cast<std::uint8_t>(header >> 8), static_cast<std::uint8_t>(header)};
}

// One block of rows, deflated as a piece of the whole stream.
struct Block {
    std::vector<std::uint8_t> deflated;
    uLong adler = 0;
    std::size_t rawBytes = 0;
    bool ok = false;
};

// Raw deflate of data, ended by a full flush so that the next block can follow on a byte
// boundary with an empty dictionary, or by the final block when last.
bool deflateBlock(const std::vector<std::uint8_t>& data, int level, bool last,
                  std::vector<std::uint8_t>& out) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return false;
    }
    // The bound covers the data; the flush marker and the final block add a few bytes.
    out.resize(deflateBound(&z, static_cast<uLong>(data.size())) + 64);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    const int flush = last ? Z_FINISH : Z_FULL_FLUSH;
    int result = Z_OK;
    for (;;) {
        z.next_out = out.data() + z.total_out;
        z.avail_out = static_cast<uInt>(out.size() - z.total_out);
        result = deflate(&z, flush);
        const bool done = last ? result == Z_STREAM_END : result == Z_OK && z.avail_out > 0;
        if (done || (result != Z_OK && result != Z_BUF_ERROR)) {
            break;
        }
        out.resize(out.size() * 2);
    }
    const bool ok = last ? result == Z_STREAM_END : result == Z_OK;
    out.resize(z.total_out);
    deflateEnd(&z);
    return ok;
}

void putBigEndian32(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v >> 24);
    at[1] = static_cast<std::uint8_t>(v >> 16);
    at[2] = static_cast<std::uint8_t>(v >> 8);
    at[3] = static_cast<std::uint8_t>(v);
}

class ChunkStream {
  public:
    explicit ChunkStream(std::FILE* file) : file_(file) {}

    bool put(const char* type, const std::uint8_t* data, std::size_t size) {
        std::uint8_t head[8];
        putBigEndian32(head, static_cast<std::uint32_t>(size));
        std::memcpy(head + 4, type, 4);
        uLong crc = crc32(0, head + 4, 4);
        if (size > 0) {  // a null buffer would restart the checksum
            crc = crc32_z(crc, data, size);
        }
        std::uint8_t tail[4];
        putBigEndian32(tail, static_cast<std::uint32_t>(crc));
        return bytes(head, 8) && bytes(data, size) && bytes(tail, 4);
    }
    bool bytes(const std::uint8_t* data, std::size_t size) {
        return size == 0 || std::fwrite(data, 1, size, file_) == size;
    }

  private:
    std::FILE* file_;
};

// Cuts the zlib stream, handed over in pieces, into IDAT chunks of at most limit bytes.
class IdatStream {
  public:
    IdatStream(ChunkStream& out, std::size_t limit) : out_(out), limit_(limit) {
        buffer_.reserve(limit);
    }

    bool add(const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            const std::size_t take = std::min(size, limit_ - buffer_.size());
            buffer_.insert(buffer_.end(), data, data + take);
            data += take;
            size -= take;
            if (buffer_.size() == limit_ && !flush()) {
                return false;
            }
        }
        return true;
    }
    bool flush() {
        if (buffer_.empty()) {
            return true;
        }
        const bool ok = out_.put("IDAT", buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

  private:
    ChunkStream& out_;
    std::size_t limit_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace

PngWriter::PngWriter(const Settings& settings) : settings_(settings) {}

bool PngWriter::write(std::FILE* file, int width, int height, const RowSource& rows,
                      QString& error) {
    if (width <= 0 || height <= 0) {
        error = QStringLiteral("Недопустимый размер изображения PNG: %1 × %2 точек")
                    .arg(width)
                    .arg(height);
        return false;
    }
    const std::size_t bpp = settings_.colour == Colour::Rgb ? 3 : 4;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bpp;
    const std::size_t rowsPerBlock = std::max<std::size_t>(1, kBlockBytes / (rowBytes + 1));
    const std::size_t blockCount =
        (static_cast<std::size_t>(height) + rowsPerBlock - 1) / rowsPerBlock;
    const int level = settings_.compressionLevel < 0 ? Z_DEFAULT_COMPRESSION
                                                     : std::min(settings_.compressionLevel, 9);

    std::vector<Block> blocks(blockCount);
    const std::vector<std::exception_ptr> failures = runJobs(blockCount, [&](std::size_t b) {
        const std::size_t first = b * rowsPerBlock;
        const std::size_t last = std::min(first + rowsPerBlock, static_cast<std::size_t>(height));
        std::vector<std::uint8_t> prev(rowBytes, 0);
        std::vector<std::uint8_t> row(rowBytes);
        std::vector<std::uint8_t> trial;
        if (first > 0) {
            rows(static_cast<int>(first - 1), prev.data());
        }
        Block& block = blocks[b];
        std::vector<std::uint8_t> raw((last - first) * (rowBytes + 1));
        for (std::size_t y = first; y < last; ++y) {
            rows(static_cast<int>(y), row.data());
            std::uint8_t* out = raw.data() + (y - first) * (rowBytes + 1);
            if (settings_.filter == RowFilter::Sub) {
                filterRow(kSub, row.data(), prev.data(), rowBytes, bpp, out);
            } else {
                filterAdaptive(row.data(), prev.data(), rowBytes, bpp, out, trial);
            }
            std::swap(row, prev);
        }
        block.rawBytes = raw.size();
        block.adler = adler32_z(1, raw.data(), raw.size());
        block.ok = deflateBlock(raw, level, b + 1 == blockCount, block.deflated);
    });
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
    if (!std::all_of(blocks.begin(), blocks.end(), [](const Block& b) { return b.ok; })) {
        error = QStringLiteral("Не хватает памяти для кодировщика PNG");
        return false;
    }

    uLong adler = adler32(0, nullptr, 0);
    for (const Block& block : blocks) {
        adler = adler32_combine(adler, block.adler, static_cast<z_off_t>(block.rawBytes));
    }
    std::uint8_t ihdr[13] = {};
    putBigEndian32(ihdr, static_cast<std::uint32_t>(width));
    putBigEndian32(ihdr + 4, static_cast<std::uint32_t>(height));
    ihdr[8] = 8;  // bits per sample
    ihdr[9] =
        settings_.colour == Colour::Rgb ? 2 : 6;  // colour type; deflate, filters, no interlace
    std::uint8_t phys[9] = {};
    putBigEndian32(phys, settings_.pixelsPerMetre);
    putBigEndian32(phys + 4, settings_.pixelsPerMetre);
    phys[8] = 1;  // per metre
    const std::array<std::uint8_t, 2> header = zlibHeader(level);
    std::uint8_t trailer[4];
    putBigEndian32(trailer, static_cast<std::uint32_t>(adler));
    static constexpr std::uint8_t kSignature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};

    errno = 0;
    ChunkStream out(file);
    IdatStream idat(out, std::clamp<std::size_t>(settings_.maxIdatBytes, 1, INT32_MAX));
    bool ok = out.bytes(kSignature, sizeof kSignature) && out.put("IHDR", ihdr, sizeof ihdr) &&
              (settings_.pixelsPerMetre == 0 || out.put("pHYs", phys, sizeof phys)) &&
              idat.add(header.data(), header.size());
    for (std::size_t b = 0; ok && b < blocks.size(); ++b) {
        ok = idat.add(blocks[b].deflated.data(), blocks[b].deflated.size());
    }
    ok = ok && idat.add(trailer, sizeof trailer) && idat.flush() && out.put("IEND", nullptr, 0) &&
         std::fflush(file) == 0;
    if (!ok) {
        error = writeFailureReason(file, "");
    }
    return ok;
}

}  // namespace zelkora
