#pragma once
// The threads that draw a frame's bands of rows beside the calling thread. The calling thread
// takes bands too, so a worker that the system wakes late never holds the frame up: it finds
// every band taken and goes back to sleep. Nothing is allocated once the threads are started.
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

// What each band runs: job(data, band).
struct BandJob {
    void (*run)(void* data, int band) = nullptr;
    void* data = nullptr;
};

class RenderThreads {
public:
    // `helpers` threads beside the caller; throws std::system_error when the system has no more.
    explicit RenderThreads(int helpers);
    ~RenderThreads();
    RenderThreads(const RenderThreads&) = delete;
    RenderThreads& operator=(const RenderThreads&) = delete;

    int helpers() const { return static_cast<int>(threads_.size()); }

    // Runs job for bands 0..bands - 1 (at most 65535), on the helpers and on the calling thread,
    // each band once; returns when every band is done.
    void run(int bands, BandJob job);

private:
    void serve();
    void stop();
    // Takes the next band of frame `frame`; false when they are all taken, or the frame is over.
    // `bands` is the frame's count of bands.
    bool take(std::uint32_t frame, int& band, int& bands);

    // The frame's number in the high 32 bits, its count of bands in the next 16 and the next
    // band to take in the low 16, changed together: a thread takes a band only of the frame it
    // woke for, and knows that frame's count.
    std::atomic<std::uint64_t> next_{0};
    std::atomic<int> done_{0};
    BandJob job_;
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};
