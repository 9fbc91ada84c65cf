#pragma once
// The threads that draw a frame's bands of rows beside the calling thread, built so that the
// calling thread never waits for a helper that the system has not scheduled:
//  - every thread takes the next band nobody has taken (one atomic counter), the calling thread
//    too, so a helper that wakes late finds the bands taken and costs nothing;
//  - a helper draws its bands into its own copy of the screen; the calling thread copies a band
//    in once the helper has finished it;
//  - when the calling thread has no band left to take and a helper's band stops making progress
//    (the helper is not running), it takes the band back and draws it itself; the helper drops
//    the band the next time it looks (after every few triangles).
// A helper that still holds a band taken back may go on reading that frame's data until it next
// runs: `ready` tells whether every helper has let go of every earlier frame, and the renderer
// draws a frame alone when not; `settle` waits for it, before the renderer changes what helpers
// read (the view's tables, the bank, the draw list's room). Nothing is allocated once the
// threads are started, except a helper's copy of the screen when the screen's size changes.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

// What a helper watches while it draws a band: whether the calling thread took the band back,
// and a count of the work done, which tells the calling thread that the helper is running.
class BandWatch {
public:
    bool takenBack() const { return state_.load(std::memory_order_relaxed) == TakenBack; }
    void progressed() { progress_.store(progress_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed); }

private:
    friend class RenderThreads;
    enum State : int { Open, Drawing, Finished, TakenBack, LetGo, Callers };
    std::atomic<int> state_{Open};
    std::atomic<std::uint32_t> progress_{0};
    int owner_ = 0; // the helper whose copy holds the band, set before it is Finished
};

// What each band runs.
struct BandJob {
    // Draws band `band` into `screen`: the frame's own when null, else a helper's copy of it,
    // whose band rows it fills first as the frame's were before drawing began. With a watch (on
    // a helper) it stops early when the band is taken back.
    void (*draw)(void* data, int band, std::uint8_t* screen, BandWatch* watch) = nullptr;
    // Copies band `band` from a helper's copy of the screen into the frame's own.
    void (*copy)(void* data, int band, const std::uint8_t* from) = nullptr;
    void* data = nullptr;
};

class RenderThreads {
public:
    static constexpr int MaxBands = 1024;

    // `helpers` threads beside the caller; throws std::system_error when the system has no more.
    explicit RenderThreads(int helpers);
    ~RenderThreads();
    RenderThreads(const RenderThreads&) = delete;
    RenderThreads& operator=(const RenderThreads&) = delete;

    int helpers() const { return static_cast<int>(threads_.size()); }

    // Whether no helper still holds a band of an earlier frame.
    bool ready() const;
    // Waits until ready().
    void settle() const;

    // Runs `job` for bands 0..bands - 1 (1..MaxBands), each band drawn once into the frame's
    // screen, directly or through a helper's copy of `screenBytes` bytes; returns when every
    // band is in the frame's screen. Only when ready(). `data` must stay valid, and what it
    // points at unchanged, until ready() again.
    void run(int bands, std::size_t screenBytes, BandJob job);

private:
    void serve(int helper);
    void stop();
    // Takes the next band of frame `frame`; false when they are all taken, or the frame is over.
    bool take(std::uint32_t frame, int& band);
    // The calling thread's end of a band a helper took: copied in when finished, else drawn.
    void collect(int band, std::uint8_t* screen);

    // The frame's number in the high 32 bits, its count of bands in the next 16 and the next
    // band to take in the low 16, changed together: a thread takes a band only of the frame it
    // woke for.
    std::atomic<std::uint64_t> next_{0};
    BandJob job_;
    int bands_ = 0; // of the last frame
    std::unique_ptr<BandWatch[]> watches_;
    std::vector<std::vector<std::uint8_t>> copies_; // each helper's copy of the screen
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};
