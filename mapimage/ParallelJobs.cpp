#include "mapimage/ParallelJobs.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace zelkora {

namespace {

// More threads than cores only take turns; four covers the machines the program runs on.
constexpr unsigned kMaxThreads = 4;

}  // namespace

std::vector<std::exception_ptr> runJobs(std::size_t count,
                                        const std::function<void(std::size_t)>& job) {
    std::vector<std::exception_ptr> errors(count);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                job(i);
            } catch (...) {
                errors[i] = std::current_exception();
            }
        }
    };
    const std::size_t threads = std::min<std::size_t>(
        count, std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads));
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < threads; ++i) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return errors;
}

}  // namespace zelkora
