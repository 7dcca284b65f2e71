#include "mapimage/MapAssembly.h"

#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <exception>
#include <functional>
#include <optional>
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

    // False for a one-off assembly, which moves rather than copies what it does not keep.
    bool keepParts = true;
    bool running = false;
    int decoded = 0;

    QString folder;  // the map folder everything below comes from
    std::optional<FileStamp> baseStamp;
    TPngImage base;
    std::array<std::optional<Layer>, kLayerCount> layers;

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
        baseStamp.reset();
        base = TPngImage();
        layers = {};
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
    const QString folder = mapFolderPath(dataDir, mapCaption, hiRes);
    if (folder != c.folder) {
        c.forgetAll();
        c.folder = folder;
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
    if (c.baseStamp != baseStamp) {
        jobs.emplace_back([&] { newBase.LoadFromFile(baseStamp->path); });
        keep.emplace_back([&] {
            c.baseStamp = baseStamp;
            c.base = std::move(newBase);
        });
    }
    std::array<std::shared_ptr<const LayerRuns>, kLayerCount> newRuns;
    for (const Wanted& w : wanted) {
        const std::optional<Cache::Layer>& kept = c.layers[w.index];
        if (kept && kept->stamp == w.stamp) {
            continue;
        }
        jobs.emplace_back([&] {
            TPngImage picture;
            picture.LoadFromFile(w.stamp.path);
            newRuns[w.index] = std::make_shared<const LayerRuns>(picture);
        });
        keep.emplace_back([&] { c.layers[w.index] = Cache::Layer{w.stamp, newRuns[w.index]}; });
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
        c.map = c.keepParts ? c.base : std::move(c.base);
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
            layer.runs = c.layers[wanted[i].index]->runs;
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

std::size_t MapAssembly::cachedBytes() const {
    const Cache& c = *cache_;
    std::size_t bytes = c.base.byteCount() + c.map.byteCount();
    std::vector<const LayerRuns*> counted;
    const auto countRuns = [&](const std::shared_ptr<const LayerRuns>& runs) {
        if (runs && std::find(counted.begin(), counted.end(), runs.get()) == counted.end()) {
            counted.push_back(runs.get());
            bytes += runs->byteCount();
        }
    };
    for (const std::optional<Cache::Layer>& layer : c.layers) {
        if (layer) {
            countRuns(layer->runs);
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
    const std::size_t limit = kMaxRasters * c.map.byteCount();
    const auto over = [&] { return cachedBytes() > limit; };
    if (over()) {
        for (std::optional<Cache::Layer>& layer : c.layers) {
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
        c.baseStamp.reset();
        c.base = TPngImage();
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
