#include "cipher/ChunkWorkers.h"

#include <atomic>

#include "fileio/ThreadSignals.h"
#include "fileio/UsableCores.h"

namespace cipher {

namespace {

std::atomic<std::size_t> chosenThreads{0};
thread_local std::size_t threadShare = 0;

// Often enough that a window stays responsive while it waits for helpers.
constexpr auto kIdleEvery = std::chrono::milliseconds(20);

}  // namespace

void SetWorkerThreads(std::size_t threads) {
    chosenThreads = threads;
}

std::size_t WorkerThreads() {
    if (threadShare > 0) return threadShare;
    if (const std::size_t chosen = chosenThreads) return chosen;
    static const std::size_t usable = fileio::UsableCores();
    return usable;
}

ThreadShare::ThreadShare(std::size_t threads) : previous_(threadShare) {
    threadShare = threads;
}

ThreadShare::~ThreadShare() {
    threadShare = previous_;
}

ChunkWorkers::ChunkWorkers(std::size_t threads) {
    // Termination signals stay with the caller, whose clean-up they run.
    const fileio::TerminationSignalsBlocked quiet;
    for (std::size_t i = 1; i < threads; ++i) helpers_.emplace_back([this] { Help(); });
}

ChunkWorkers::~ChunkWorkers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    queued_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
}

void ChunkWorkers::Submit(Job& job) {
    job.done = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(&job);
    }
    queued_.notify_one();
}

bool ChunkWorkers::RunOne(std::unique_lock<std::mutex>& lock) {
    if (queue_.empty()) return false;
    Job* job = queue_.front();
    queue_.pop_front();
    lock.unlock();
    job->run();
    lock.lock();
    job->done = true;
    finished_.notify_all();
    return true;
}

void ChunkWorkers::Help() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (stop_) return;
        RunOne(lock);
    }
}

void ChunkWorkers::Wait(Job& job, const std::function<void()>& idle) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!job.done) {
        if (RunOne(lock)) continue;
        if (finished_.wait_for(lock, kIdleEvery, [&] { return job.done; })) break;
        lock.unlock();
        if (idle) idle();
        lock.lock();
    }
}

}  // namespace cipher
