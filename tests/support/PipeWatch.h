#pragma once
// Named pipes in test folders. Opening one for reading waits until a writer comes, so code that
// opens a pipe it should have skipped would hang the test; the watch below lets it go instead,
// and the test fails.
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

inline void MakePipe(const std::filesystem::path& pipe) { ::mkfifo(pipe.c_str(), 0644); }

// Runs `work` and answers whether it finished without opening `pipe` (an absolute path). Past
// `limit` the pipe is opened for writing and closed again, as often as needed, so a reader
// stuck on it sees its end and `work` can finish.
inline bool FinishesWithoutOpening(const std::filesystem::path& pipe, const std::function<void()>& work,
                                   std::chrono::seconds limit = std::chrono::seconds(10))
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread worker([&] {
        work();
        const std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    });
    bool opened = false;
    std::unique_lock lock(mutex);
    if (!finished.wait_for(lock, limit, [&] { return done; })) {
        opened = true;
        while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; })) {
            // Without a reader waiting, a non-blocking open fails at once and nothing happens.
            const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
        }
    }
    lock.unlock();
    worker.join();
    return !opened;
}
