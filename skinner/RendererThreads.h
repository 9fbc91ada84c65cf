#pragma once
// The threads that share a frame's work with the calling thread: each job (the bands of rows of
// a frame, an object's points, its faces) is cut into pieces, built so that the calling thread
// never waits for a helper that the system has not scheduled:
//  - every thread takes the next piece nobody has taken (one atomic counter), the calling thread
//    too, so a helper that wakes late finds the pieces taken and costs nothing;
//  - a helper writes its pieces into its own copy of what the job writes; the calling thread
//    copies a piece in once the helper has finished it;
//  - when the calling thread has no piece left to take, it waits for a helper's piece only while
//    the helper is running and will finish sooner than the calling thread would do the whole
//    piece itself (judged by the helper's progress, against the calling thread's own pieces of
//    the job); otherwise it takes the piece back and does it; the helper drops the piece the
//    next time it looks (after every few items). So helpers never make a job slower than the
//    calling thread alone would do it, give or take the copying.
// A helper that still holds a piece taken back may go on reading that job's data until it next
// runs: `ready` tells whether every helper has let go of every earlier job, and the renderer
// works alone when not; `settle` waits for it, before the renderer changes what helpers read
// (the view's tables, the bank, the draw list's room). Nothing is allocated once the threads are
// started, except a helper's copy when a job needs a larger one than any before.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

// What a helper watches while it does a piece: whether the calling thread took the piece back;
// and where it tells how much of the piece it has done, in 65536ths, which shows the calling
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

// What each piece runs.
struct BandJob {
    // Does piece `piece` into `copy`: a helper's copy of what the job writes, laid out as the job
    // lays it out, or the job's own when null. With a watch (on a helper) it stops early when the
    // piece is taken back.
    void (*draw)(void* data, int piece, std::uint8_t* copy, BandWatch* watch) = nullptr;
    // Called on the calling thread for every piece in turn once it is done: `from` is the helper's
    // copy holding it, which the job copies in, or null when the piece is in the job's own.
    void (*copy)(void* data, int piece, const std::uint8_t* from) = nullptr;
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

    // What the jobs since the last call cost the calling thread beyond its own pieces: how long
    // it waited for helpers' pieces, and how many it took back and did itself.
    struct Waiting {
        std::chrono::nanoseconds waited{0};
        int takenBack = 0;
    };
    Waiting takeWaiting() { return std::exchange(waiting_, Waiting{}); }

    // Whether no helper still holds a piece of an earlier job.
    bool ready() const;
    // Waits until ready().
    void settle() const;

    // Runs `job` for pieces 0..pieces - 1 (1..MaxBands), each piece done once, directly or in a
    // helper's copy of at least `copyBytes` bytes; returns when every piece is in. Only when
    // ready(). `data` must stay valid, and what it points at unchanged, until ready() again.
    void run(int pieces, std::size_t copyBytes, BandJob job);

private:
    void serve(int helper);
    void stop();
    // Takes the next piece of job `frame`; false when they are all taken, or the job is over.
    bool take(std::uint32_t frame, int& band);
    // The calling thread's end of a piece a helper took: copied in when finished, else done.
    void collect(int band, std::chrono::steady_clock::duration bandTime);

    // The job's number in the high 32 bits, its count of pieces in the next 16 and the next
    // piece to take in the low 16, changed together: a thread takes a piece only of the job it
    // woke for.
    std::atomic<std::uint64_t> next_{0};
    BandJob job_;
    int bands_ = 0; // of the last job
    Waiting waiting_;
    std::unique_ptr<BandWatch[]> watches_;
    std::vector<std::vector<std::uint8_t>> copies_; // each helper's copy of what jobs write
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};
