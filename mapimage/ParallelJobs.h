#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <vector>

namespace zelkora {

// Runs job(0) .. job(count - 1), shared out among the cores: the calling thread takes its share
// and returns once all have ended. Jobs are started in index order. An exception ends only its
// own job; each job's exception, if any, comes back at its index.
std::vector<std::exception_ptr> runJobs(std::size_t count,
                                        const std::function<void(std::size_t)>& job);

}  // namespace zelkora
