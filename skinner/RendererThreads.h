#pragma once
// The threads that draw a frame's bands of rows beside the calling thread, built so that the
// calling thread never waits for a helper that the system has not scheduled:
//  - every thread takes the next band nobody has taken (one atomic counter), the calling thread
//    too, so a helper that wakes late finds the bands taken and costs nothing;
//  - a helper draws its bands into its own copy of the screen; the calling thread copies a band
//    in once the helper has finished it;
//  - when the calling thread has no band left to take, it waits for a helper's band only while
//    the helper is running and will finish sooner than the calling thread would draw the whole
//    band itself (judged by the helper's progress, against the calling thread's own bands of the
//    frame); otherwise it takes the band back and draws it; the helper drops the band the next
//    time it looks (after every few triangles). So helpers never make a frame slower than the
//    calling thread alone would draw it, give or take the copying.
// A helper that still holds a band taken back may go on reading that frame's data until it next
// runs: `ready` tells whether every helper has let go of every earlier frame, and the renderer
// draws a frame alone when not; `settle` waits for it, before the renderer changes what helpers
// read (the view's tables, the bank, the draw list's room). Nothing is allocated once the
// threads are started, except a helper's copy of the screen when the screen's size changes.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

// What a helper watches while it draws a band: whether the calling thread took the band back;
// and where it tells how much of the band it has done, in 65536ths, which shows the calling
// thread whether and how fast the helper is running.
class BandWatch {
public:
    static constexpr std::uint32_t Whole = 65536;

    bool takenBack() const { return state_.load(std::memory_order_relaxed) == TakenBack; }
    void reached(std::uint32_t done) { progress_.store(done, std::memory_order_relaxed); }

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

    // What the last frame cost the calling thread beyond its own drawing: how long it waited for
    // helpers' bands, and how many it took back and drew itself.
    struct Waiting {
        std::chrono::nanoseconds waited{0};
        int takenBack = 0;
    };
    Waiting lastWaiting() const { return waiting_; }

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
    void collect(int band, std::uint8_t* screen, std::chrono::steady_clock::duration bandTime);

    // The frame's number in the high 32 bits, its count of bands in the next 16 and the next
    // band to take in the low 16, changed together: a thread takes a band only of the frame it
    // woke for.
    std::atomic<std::uint64_t> next_{0};
    BandJob job_;
    int bands_ = 0; // of the last frame
    Waiting waiting_;
    std::unique_ptr<BandWatch[]> watches_;
    std::vector<std::vector<std::uint8_t>> copies_; // each helper's copy of the screen
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};
