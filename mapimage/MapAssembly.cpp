#include "mapimage/MapAssembly.h"

#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <optional>
#include <utility>
#include <vector>

#include "common/ZelkoraError.h"
#include "mapimage/LayerRuns.h"
#include "mapimage/ParallelJobs.h"

namespace zelkora {

namespace {

// What tells one state of a file from another without reading it.
struct FileStamp {
    QString path;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Nothing when path names no regular file: a folder of that name counts as missing.
std::optional<FileStamp> stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return FileStamp{path, st.st_size,
                     std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec,
                     std::uint64_t{st.st_dev}, std::uint64_t{st.st_ino}};
}

class RunningScope {
  public:
    explicit RunningScope(bool& running) : running_(running) { running_ = true; }
    ~RunningScope() { running_ = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

  private:
    bool& running_;
};

}  // namespace

struct MapAssembly::Cache {
    struct Layer {
        FileStamp stamp;
        std::shared_ptr<const LayerRuns> runs;
    };
    // One layer blended over the map, with the map's pixels from before, to take it off again.
    struct Applied {
        FileStamp stamp;
        std::shared_ptr<const LayerRuns> runs;
        std::vector<std::uint8_t> saved;
    };
    // What is kept of one map folder's files.
    struct Parts {
        QString dataDir;
        QString caption;
        bool hiRes = false;
        std::optional<FileStamp> baseStamp;
        TPngImage base;
        std::array<std::optional<Layer>, kLayerCount> layers;
        int decoded = 0;  // files read into these parts by a read ahead, not yet counted

        bool holds(const QString& d, const QString& c, bool h) const {
            return dataDir == d && caption == c && hiRes == h;
        }
        QString folder() const { return mapFolderPath(dataDir, caption, hiRes); }
    };

    // False for a one-off assembly, which moves rather than copies what it does not keep.
    bool keepParts = true;
    bool running = false;
    int decoded = 0;

    Parts parts;  // the files of the map assembled last
    // The files of the same map at its other resolution, kept or read ahead on a thread of its
    // own (pending), so that switching resolutions need not wait for them.
    std::optional<Parts> other;
    std::future<Parts> pending;
    Parts pendingFor;  // which files pending reads: its folder's names, nothing read

    // The map last built: the base picture `built` with `applied` blended over it in order.
    std::optional<FileStamp> built;
    TPngImage map;
    std::vector<Applied> applied;

    void forgetMap() {
        built.reset();
        map = TPngImage();
        applied.clear();
    }
    void forgetAll() {
        forgetMap();
        parts = Parts();
        other.reset();
    }
    // Reads every file of a map folder that an assembly may want: the base picture and each layer.
    static Parts readParts(const QString& dataDir, const QString& caption, bool hiRes) {
        Parts parts;
        parts.dataDir = dataDir;
        parts.caption = caption;
        parts.hiRes = hiRes;
        parts.baseStamp = stampOf(baseImagePath(dataDir, caption, hiRes));
        std::array<std::optional<FileStamp>, kLayerCount> stamps;
        for (std::size_t i = 0; i < kLayerCount; ++i) {
            stamps[i] = stampOf(
                layerImagePath(dataDir, caption, hiRes, kLayerCaptions[static_cast<int>(i)]));
        }
        const std::vector<std::exception_ptr> errors = runJobs(1 + kLayerCount, [&](std::size_t i) {
            if (i == 0) {
                if (parts.baseStamp) {
                    parts.base.LoadFromFile(parts.baseStamp->path);
                }
                return;
            }
            const std::optional<FileStamp>& stamp = stamps[i - 1];
            if (stamp) {
                TPngImage picture;
                picture.LoadFromFile(stamp->path);
                parts.layers[i - 1] = Layer{*stamp, std::make_shared<const LayerRuns>(picture)};
            }
        });
        // What did not read is left out: the assembly reads it again and says what is wrong.
        if (errors[0]) {
            parts.baseStamp.reset();
            parts.base = TPngImage();
        }
        for (std::size_t i = 0; i < kLayerCount; ++i) {
            if (errors[i + 1]) {
                parts.layers[i].reset();
            }
        }
        parts.decoded = (parts.baseStamp ? 1 : 0) +
                        static_cast<int>(std::count_if(parts.layers.begin(), parts.layers.end(),
                                                       [](const auto& layer) { return layer; }));
        return parts;
    }

    // The parts read ahead, once they are there (waiting for them); a failed read ahead leaves
    // nothing, and the files are read again when they are wanted.
    void collect() {
        if (!pending.valid()) {
            return;
        }
        try {
            other = pending.get();
        } catch (...) {
            other.reset();
        }
    }
};

MapAssembly::MapAssembly() : cache_(std::make_unique<Cache>()) {}

MapAssembly::~MapAssembly() = default;

bool MapAssembly::build(const QString& dataDir, const QString& mapCaption, bool hiRes,
                        const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield) {
    Cache& c = *cache_;
    if (c.running) {
        throw ZelkoraError("Карта уже собирается: новую сборку можно начать только после неё");
    }
    const std::optional<FileStamp> baseStamp = stampOf(baseImagePath(dataDir, mapCaption, hiRes));
    if (!baseStamp) {
        return false;
    }
    const RunningScope running(c.running);
    if (!c.parts.holds(dataDir, mapCaption, hiRes)) {
        // The other resolution of the same map is kept, or was read ahead; another map's
        // files are all let go.
        if (c.pending.valid() && c.pendingFor.holds(dataDir, mapCaption, hiRes)) {
            c.collect();
        }
        const bool sameMap = c.parts.dataDir == dataDir && c.parts.caption == mapCaption;
        std::optional<Cache::Parts> previous;
        if (sameMap && c.keepParts) {
            previous = std::move(c.parts);
        }
        c.forgetMap();
        if (c.other && c.other->holds(dataDir, mapCaption, hiRes)) {
            c.parts = std::move(*c.other);
            c.decoded += std::exchange(c.parts.decoded, 0);
        } else {
            c.parts = Cache::Parts();
            c.parts.dataDir = dataDir;
            c.parts.caption = mapCaption;
            c.parts.hiRes = hiRes;
        }
        c.other = std::move(previous);
    }
    if (c.other && (c.other->dataDir != dataDir || c.other->caption != mapCaption)) {
        c.other.reset();
    }

    struct Wanted {
        std::size_t index;
        FileStamp stamp;
    };
    std::vector<Wanted> wanted;
    for (std::size_t i = 0; i < kLayerCount; ++i) {
        if (!layersOn[i]) {
            continue;
        }
        const QString path =
            layerImagePath(dataDir, mapCaption, hiRes, kLayerCaptions[static_cast<int>(i)]);
        if (const std::optional<FileStamp> stamp = stampOf(path)) {
            wanted.push_back({i, *stamp});
        }
    }

    // Read what is not kept as it is on disk now; the base picture first, as it takes longest.
    std::vector<std::function<void()>> jobs;
    std::vector<std::function<void()>> keep;
    TPngImage newBase;
    if (c.parts.baseStamp != baseStamp) {
        jobs.emplace_back([&] { newBase.LoadFromFile(baseStamp->path); });
        keep.emplace_back([&] {
            c.parts.baseStamp = baseStamp;
            c.parts.base = std::move(newBase);
        });
    }
    std::array<std::shared_ptr<const LayerRuns>, kLayerCount> newRuns;
    for (const Wanted& w : wanted) {
        const std::optional<Cache::Layer>& kept = c.parts.layers[w.index];
        if (kept && kept->stamp == w.stamp) {
            continue;
        }
        jobs.emplace_back([&] {
            TPngImage picture;
            picture.LoadFromFile(w.stamp.path);
            newRuns[w.index] = std::make_shared<const LayerRuns>(picture);
        });
        keep.emplace_back([&] {
            c.parts.layers[w.index] = Cache::Layer{w.stamp, newRuns[w.index]};
        });
    }
    // Decoding takes nearly all of a cold assembly's time, and each file is decoded on its own.
    const std::vector<std::exception_ptr> errors =
        runJobs(jobs.size(), [&](std::size_t i) { jobs[i](); });
    std::exception_ptr firstError;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (errors[i]) {
            firstError = firstError ? firstError : errors[i];
        } else {
            keep[i]();
            ++c.decoded;
        }
    }
    if (firstError) {
        std::rethrow_exception(firstError);
    }

    if (c.built != baseStamp) {
        c.forgetMap();
        c.map = c.keepParts ? c.parts.base : std::move(c.parts.base);
        c.built = baseStamp;
    }
    // The layers that are blended as they should be stay; the rest come off, top first, and the
    // wanted ones go on.
    std::size_t same = 0;
    while (same < c.applied.size() && same < wanted.size() &&
           c.applied[same].stamp == wanted[same].stamp) {
        ++same;
    }
    try {
        while (c.applied.size() > same) {
            c.applied.back().runs->restore(c.map, c.applied.back().saved);
            c.applied.pop_back();
        }
        for (std::size_t i = same; i < wanted.size(); ++i) {
            Cache::Applied& layer = c.applied.emplace_back();
            layer.stamp = wanted[i].stamp;
            layer.runs = c.parts.layers[wanted[i].index]->runs;
            layer.runs->blendOver(c.map, layer.saved, yield);
        }
    } catch (...) {
        // A blend stopped half way leaves no map to build on.
        c.forgetMap();
        throw;
    }
    return true;
}

bool MapAssembly::assemble(TPngImage& a, const QString& dataDir, const QString& mapCaption,
                           bool hiRes, const std::array<bool, kLayerCount>& layersOn,
                           const YieldFn& yield) {
    if (!build(dataDir, mapCaption, hiRes, layersOn, yield)) {
        return false;
    }
    a = cache_->map;
    trim();
    return true;
}

void MapAssembly::prefetch(const QString& dataDir, const QString& mapCaption, bool hiRes) {
    Cache& c = *cache_;
    if (c.parts.holds(dataDir, mapCaption, hiRes) ||
        (c.other && c.other->holds(dataDir, mapCaption, hiRes)) || c.parts.dataDir != dataDir ||
        c.parts.caption != mapCaption) {
        return;
    }
    if (c.pending.valid()) {
        if (c.pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            return;  // a read ahead runs already: one at a time
        }
        if (c.pendingFor.holds(dataDir, mapCaption, hiRes)) {
            c.collect();
            return;
        }
        c.pending = {};
    }
    c.pendingFor = Cache::Parts();
    c.pendingFor.dataDir = dataDir;
    c.pendingFor.caption = mapCaption;
    c.pendingFor.hiRes = hiRes;
    c.pending = std::async(std::launch::async, [dataDir, mapCaption, hiRes] {
        return Cache::readParts(dataDir, mapCaption, hiRes);
    });
}

bool MapAssembly::prefetching() const {
    return cache_->pending.valid();
}

std::size_t MapAssembly::cachedBytes() const {
    const Cache& c = *cache_;
    std::size_t bytes = c.parts.base.byteCount() + c.map.byteCount();
    std::vector<const LayerRuns*> counted;
    const auto countRuns = [&](const std::shared_ptr<const LayerRuns>& runs) {
        if (runs && std::find(counted.begin(), counted.end(), runs.get()) == counted.end()) {
            counted.push_back(runs.get());
            bytes += runs->byteCount();
        }
    };
    for (const std::optional<Cache::Layer>& layer : c.parts.layers) {
        if (layer) {
            countRuns(layer->runs);
        }
    }
    if (c.other) {
        bytes += c.other->base.byteCount();
        for (const std::optional<Cache::Layer>& layer : c.other->layers) {
            if (layer) {
                countRuns(layer->runs);
            }
        }
    }
    for (const Cache::Applied& layer : c.applied) {
        countRuns(layer.runs);
        bytes += layer.saved.size();
    }
    return bytes;
}

int MapAssembly::filesDecoded() const {
    return cache_->decoded;
}

// Only maps whose layers cover most of them come near the bound. What goes first is what
// the next click is least likely to need: layers switched off, then the map built from
// the base, then the base, then everything.
void MapAssembly::trim() {
    Cache& c = *cache_;
    // The bound is of the larger resolution's raster, so that the files read ahead for the
    // other one are not let go at once, only to be read again.
    const std::size_t raster =
        std::max(c.map.byteCount(), c.other ? c.other->base.byteCount() : std::size_t{0});
    const std::size_t limit = kMaxRasters * raster;
    const auto over = [&] { return cachedBytes() > limit; };
    if (over()) {
        c.other.reset();
    }
    if (over()) {
        for (std::optional<Cache::Layer>& layer : c.parts.layers) {
            const bool inUse = layer && std::any_of(c.applied.begin(), c.applied.end(),
                                                    [&](const Cache::Applied& a) {
                                                        return a.runs == layer->runs;
                                                    });
            if (!inUse) {
                layer.reset();
            }
        }
    }
    if (over()) {
        c.forgetMap();
    }
    if (over()) {
        c.parts.baseStamp.reset();
        c.parts.base = TPngImage();
    }
    if (over()) {
        c.forgetAll();
    }
}

bool assembleMap(TPngImage& a, const QString& dataDir, const QString& mapCaption, bool hiRes,
                 const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield) {
    MapAssembly once;
    once.cache_->keepParts = false;
    if (!once.build(dataDir, mapCaption, hiRes, layersOn, yield)) {
        return false;
    }
    a = std::move(once.cache_->map);
    return true;
}

}  // namespace zelkora
