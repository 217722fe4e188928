#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace cipher {

// How many threads one operation deciphers on. The process-wide default is
// the number of usable processors; 0 restores it.
void SetWorkerThreads(std::size_t threads);
std::size_t WorkerThreads();

// Lowers WorkerThreads() for operations started on this thread while the
// object lives (one file of a batch that runs several files at once).
class ThreadShare {
public:
    explicit ThreadShare(std::size_t threads);
    ~ThreadShare();
    ThreadShare(const ThreadShare&) = delete;
    ThreadShare& operator=(const ThreadShare&) = delete;

private:
    std::size_t previous_;
};

// A few helper threads that run independent pieces of work (chunks of a
// chained decipherment) while the caller waits for the results in order.
// The caller works too: while it waits it runs pieces nobody has taken, so
// N threads means N - 1 helpers.
class ChunkWorkers {
public:
    struct Job {
        std::function<void()> run;
        bool done = false;
    };

    explicit ChunkWorkers(std::size_t threads);
    ~ChunkWorkers();
    ChunkWorkers(const ChunkWorkers&) = delete;
    ChunkWorkers& operator=(const ChunkWorkers&) = delete;

    std::size_t Threads() const { return helpers_.size() + 1; }

    // Queues a job; it must outlive its Wait.
    void Submit(Job& job);
    // Returns once `job` has run. Meanwhile runs queued jobs itself, and
    // calls idle() now and then while only others are working.
    void Wait(Job& job, const std::function<void()>& idle);

private:
    void Help();
    // Takes the next queued job and runs it unlocked; false when none is queued.
    bool RunOne(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable queued_, finished_;
    std::deque<Job*> queue_;
    bool stop_ = false;
    std::vector<std::thread> helpers_;
};

}  // namespace cipher
