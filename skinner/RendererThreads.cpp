#include "RendererThreads.h"

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

std::uint32_t frameOf(std::uint64_t word) { return static_cast<std::uint32_t>(word >> 32); }
int countOf(std::uint64_t word) { return static_cast<int>((word >> 16) & 0xffff); }
int nextOf(std::uint64_t word) { return static_cast<int>(word & 0xffff); }

using Clock = std::chrono::steady_clock;

// A helper whose band has made no progress for this long is taken not to be running: the
// calling thread draws the band itself. Far longer than a helper takes between two looks at its
// watch, far shorter than the time slice of a thread the system has put aside.
constexpr auto StallLimit = std::chrono::microseconds(200);
// How long the calling thread watches a running helper before it judges its pace.
constexpr auto PaceWindow = std::chrono::microseconds(50);

inline void spinPause()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

} // namespace

RenderThreads::RenderThreads(int helpers) : watches_(std::make_unique<BandWatch[]>(MaxBands))
{
    for (BandWatch* watch = watches_.get(); watch != watches_.get() + MaxBands; ++watch)
        watch->state_.store(BandWatch::Finished);
    copies_.resize(static_cast<std::size_t>(helpers));
    try {
        for (int i = 0; i < helpers; ++i)
            threads_.emplace_back(&RenderThreads::serve, this, i);
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
    // A new frame of no bands wakes every helper, which then stops; one still drawing a band
    // taken back stops at its next look.
    next_.store((std::uint64_t(frameOf(next_.load()) + 1)) << 32);
    next_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
}

bool RenderThreads::ready() const
{
    for (int band = 0; band < bands_; ++band)
        if (watches_[band].state_.load(std::memory_order_acquire) == BandWatch::TakenBack)
            return false;
    return true;
}

void RenderThreads::settle() const
{
    while (!ready())
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

bool RenderThreads::take(std::uint32_t frame, int& band)
{
    std::uint64_t seen = next_.load(std::memory_order_acquire);
    while (frameOf(seen) == frame && nextOf(seen) < countOf(seen)) {
        // Acquire: the job of the frame, written before the frame was published, is seen.
        if (next_.compare_exchange_weak(seen, seen + 1, std::memory_order_acquire)) {
            band = nextOf(seen);
            return true;
        }
    }
    return false;
}

void RenderThreads::run(int bands, std::size_t copyBytes, BandJob job)
{
    // No helper holds a piece of an earlier job (ready()), so none reads the job, the watches
    // or its copy now.
    for (std::vector<std::uint8_t>& copy : copies_)
        if (copy.size() < copyBytes)
            copy.resize(copyBytes);
    for (int band = 0; band < bands; ++band) {
        watches_[band].state_.store(BandWatch::Open, std::memory_order_relaxed);
        watches_[band].progress_.store(0, std::memory_order_relaxed);
    }
    job_ = job;
    bands_ = bands;
    const std::uint32_t frame = frameOf(next_.load()) + 1;
    next_.store((std::uint64_t(frame) << 32) | (std::uint64_t(bands) << 16), std::memory_order_release);
    next_.notify_all();
    int band = 0, own = 0;
    const auto start = Clock::now();
    while (take(frame, band)) {
        watches_[band].state_.store(BandWatch::Callers, std::memory_order_relaxed);
        job.draw(job.data, band, nullptr, nullptr);
        ++own;
    }
    // What a piece costs the calling thread, by its own pieces of this job; with none (the
    // helpers took them all), any running helper is worth waiting for.
    const Clock::duration bandTime = own > 0 ? (Clock::now() - start) / own : Clock::duration::max();
    for (band = 0; band < bands; ++band) {
        if (watches_[band].state_.load(std::memory_order_relaxed) == BandWatch::Callers)
            job.copy(job.data, band, nullptr);
        else
            collect(band, bandTime);
    }
}

void RenderThreads::collect(int band, Clock::duration bandTime)
{
    BandWatch& watch = watches_[band];
    const std::uint32_t first = watch.progress_.load(std::memory_order_relaxed);
    std::uint32_t progress = first;
    const auto start = Clock::now();
    auto lastProgress = start;
    for (int spins = 0;; ++spins) {
        int state = watch.state_.load(std::memory_order_acquire);
        if (state == BandWatch::Finished) {
            if (spins > 0)
                waiting_.waited += Clock::now() - start;
            job_.copy(job_.data, band, copies_[static_cast<std::size_t>(watch.owner_)].data());
            return;
        }
        if (spins % 64 != 0) {
            spinPause();
            continue;
        }
        const auto now = Clock::now();
        if (const std::uint32_t seen = watch.progress_.load(std::memory_order_relaxed); seen != progress) {
            progress = seen;
            lastProgress = now;
        }
        // Not running, or running too slowly to finish before the calling thread would have done
        // the whole piece: at its pace since the wait began, the rest takes (Whole - progress) /
        // (progress - first) times the time waited.
        const auto waited = now - start;
        const bool stalled = now - lastProgress > StallLimit;
        const bool slow = waited > PaceWindow && progress != first && bandTime != Clock::duration::max() &&
                          double(BandWatch::Whole - std::min(progress, BandWatch::Whole)) * double(waited.count()) >
                              double(progress - first) * double(bandTime.count());
        if ((stalled || slow) &&
            watch.state_.compare_exchange_strong(state, BandWatch::TakenBack, std::memory_order_acq_rel)) {
            waiting_.waited += now - start;
            ++waiting_.takenBack;
            job_.draw(job_.data, band, nullptr, nullptr);
            job_.copy(job_.data, band, nullptr);
            return;
        }
    }
}

void RenderThreads::serve(int helper)
{
    std::uint64_t seen = next_.load(std::memory_order_acquire);
    while (!stopping_.load()) {
        const std::uint32_t frame = frameOf(seen);
        int band = 0;
        while (take(frame, band)) {
            BandWatch& watch = watches_[band];
            watch.owner_ = helper;
            int open = BandWatch::Open;
            if (watch.state_.compare_exchange_strong(open, BandWatch::Drawing, std::memory_order_acq_rel)) {
                job_.draw(job_.data, band, copies_[static_cast<std::size_t>(helper)].data(), &watch);
                int drawing = BandWatch::Drawing;
                // Release: the band's pixels in the copy are seen by the thread that copies them.
                if (watch.state_.compare_exchange_strong(drawing, BandWatch::Finished, std::memory_order_acq_rel))
                    continue;
            }
            // Taken back: the calling thread draws it; this helper reads nothing more of the frame.
            watch.state_.store(BandWatch::LetGo, std::memory_order_release);
        }
        // Sleep until the next frame starts.
        while (frameOf(seen) == frame && !stopping_.load()) {
            next_.wait(seen, std::memory_order_acquire);
            seen = next_.load(std::memory_order_acquire);
        }
    }
}
