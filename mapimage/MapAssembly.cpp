#include "mapimage/MapAssembly.h"

#include <QFileInfo>
#include <algorithm>
#include <deque>
#include <future>
#include <thread>
#include <vector>

#include "mapimage/Compositing.h"

namespace {

// A directory of that name counts as missing, like any other thing that is not a file.
bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

TPngImage loadPicture(const QString& path) {
    TPngImage image;
    image.LoadFromFile(path);
    return image;
}

// Decoding takes nearly all of an assembly's time, so the next files are decoded on other
// threads while the current layer is blended. Blending stays on the calling thread, in order.
class PictureQueue {
  public:
    explicit PictureQueue(std::vector<QString> paths)
        : paths_(std::move(paths)),
          ahead_(std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 3)) {
        while (pending_.size() < ahead_ && launch()) {
        }
    }

    // The next picture in order; rethrows its reading error.
    TPngImage take() {
        std::future<TPngImage> next = std::move(pending_.front());
        pending_.pop_front();
        launch();
        return next.get();
    }

  private:
    bool launch() {
        if (next_ >= paths_.size()) {
            return false;
        }
        pending_.push_back(std::async(std::launch::async, loadPicture, paths_[next_++]));
        return true;
    }

    std::vector<QString> paths_;
    std::size_t ahead_;
    std::size_t next_ = 0;
    std::deque<std::future<TPngImage>> pending_;
};

}  // namespace

bool assembleMap(TPngImage& a, const QString& dataDir, const QString& mapCaption, bool hiRes,
                 const std::array<bool, kLayerCount>& layersOn, const YieldFn& yield) {
    const QString basePath = baseImagePath(dataDir, mapCaption, hiRes);
    if (!fileExists(basePath)) {
        return false;
    }
    std::vector<QString> paths = {basePath};
    for (int i = 0; i < kLayerCount; ++i) {
        const QString layerPath = layerImagePath(dataDir, mapCaption, hiRes, kLayerCaptions[i]);
        if (layersOn[static_cast<std::size_t>(i)] && fileExists(layerPath)) {
            paths.push_back(layerPath);
        }
    }
    const std::size_t layerCount = paths.size() - 1;
    PictureQueue pictures(std::move(paths));
    TPngImage map = pictures.take();
    for (std::size_t i = 0; i < layerCount; ++i) {
        const TPngImage layer = pictures.take();
        MergePNGLayerMy(map, layer, 0, 0, yield);
    }
    a = std::move(map);
    return true;
}
