#include "RendererThreads.h"

namespace {

std::uint32_t frameOf(std::uint64_t word) { return static_cast<std::uint32_t>(word >> 32); }
int countOf(std::uint64_t word) { return static_cast<int>((word >> 16) & 0xffff); }
int nextOf(std::uint64_t word) { return static_cast<int>(word & 0xffff); }

} // namespace

RenderThreads::RenderThreads(int helpers)
{
    try {
        for (int i = 0; i < helpers; ++i)
            threads_.emplace_back(&RenderThreads::serve, this);
    } catch (...) {
        stop(); // the helpers already started end before the failure is passed on
        throw;
    }
}

RenderThreads::~RenderThreads()
{
    stop();
}

void RenderThreads::stop()
{
    stopping_.store(true);
    // A new frame of no bands wakes every helper, which then stops.
    next_.store((std::uint64_t(frameOf(next_.load()) + 1)) << 32);
    next_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
}

bool RenderThreads::take(std::uint32_t frame, int& band, int& bands)
{
    std::uint64_t seen = next_.load(std::memory_order_acquire);
    while (frameOf(seen) == frame && nextOf(seen) < countOf(seen)) {
        // Acquire: the job of the frame, written before the frame was published, is seen.
        if (next_.compare_exchange_weak(seen, seen + 1, std::memory_order_acquire)) {
            band = nextOf(seen);
            bands = countOf(seen);
            return true;
        }
    }
    return false;
}

void RenderThreads::run(int bands, BandJob job)
{
    // Every band of the last frame is done, so no thread reads the job now.
    job_ = job;
    done_.store(0);
    const std::uint32_t frame = frameOf(next_.load()) + 1;
    next_.store((std::uint64_t(frame) << 32) | (std::uint64_t(bands) << 16), std::memory_order_release);
    next_.notify_all();
    int band = 0, count = 0;
    while (take(frame, band, count)) {
        job.run(job.data, band);
        done_.fetch_add(1, std::memory_order_release);
    }
    // Bands the helpers took may still be being drawn.
    for (int finished = done_.load(std::memory_order_acquire); finished < bands;
         finished = done_.load(std::memory_order_acquire))
        done_.wait(finished, std::memory_order_acquire);
}

void RenderThreads::serve()
{
    std::uint64_t seen = next_.load(std::memory_order_acquire);
    while (!stopping_.load()) {
        const std::uint32_t frame = frameOf(seen);
        int band = 0, bands = 0;
        while (take(frame, band, bands)) {
            job_.run(job_.data, band);
            if (done_.fetch_add(1, std::memory_order_release) + 1 == bands)
                done_.notify_one();
        }
        // Sleep until the next frame starts.
        while (frameOf(seen) == frame && !stopping_.load()) {
            next_.wait(seen, std::memory_order_acquire);
            seen = next_.load(std::memory_order_acquire);
        }
    }
}
