#pragma once
// Runs work(0) ... work(count - 1) on a few threads (as many as the processor has cores, at most
// four) until done or `stop` is set. `work` catches its own exceptions.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

template <typename Work>
void InParallel(std::size_t count, const std::atomic<bool>& stop, const Work& work)
{
    std::atomic<std::size_t> next = 0;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count && !stop; i = next++)
            work(i);
    };
    const std::size_t threads = std::min<std::size_t>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u), count);
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(worker);
    worker();
}
