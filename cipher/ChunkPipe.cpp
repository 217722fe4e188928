#include "cipher/ChunkPipe.h"

#include "cipher/LargeBuffer.h"
#include "cipher/SecureZero.h"
#include "fileio/ThreadSignals.h"

namespace cipher {

ChunkPipe::ChunkPipe(std::size_t chunkBytes, std::size_t buffers, std::size_t chunks, Fill fill,
                     Drain drain)
    : chunkBytes_(chunkBytes),
      chunks_(chunks),
      fill_(std::move(fill)),
      drain_(std::move(drain)),
      memory_(new std::uint8_t[chunkBytes * buffers]),
      memoryBytes_(chunkBytes * buffers),
      slots_(buffers) {
    fileio::KeepOutOfCoreDumps(memory_.get(), memoryBytes_);  // plain text passes through
    for (std::size_t i = 0; i < buffers; ++i) {
        slots_[i].data = memory_.get() + i * chunkBytes;
        free_.push_back(&slots_[i]);
    }
    // Termination signals stay with the caller, whose clean-up they run.
    const fileio::TerminationSignalsBlocked quiet;
    helper_ = std::thread([this] { Work(); });
}

ChunkPipe::~ChunkPipe() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        writes_.clear();
    }
    changed_.notify_all();
    helper_.join();
    SecureZero(memory_.get(), memoryBytes_);
}

bool ChunkPipe::HasWork() const {
    return stop_ || !writes_.empty() || (!free_.empty() && nextRead_ < chunks_ && !readError_);
}

void ChunkPipe::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return HasWork(); });
        if (stop_) return;
        if (!writes_.empty()) {
            // Writing first frees a buffer for the next read.
            const Pending pending = writes_.front();
            writes_.pop_front();
            ++busyWrites_;
            const bool skip = static_cast<bool>(writeError_);
            lock.unlock();
            std::error_code ec;
            if (!skip) ec = drain_(pending.data, pending.size);
            lock.lock();
            --busyWrites_;
            if (ec && !writeError_) writeError_ = ec;
            free_.push_back(pending.chunk);
        } else {
            Chunk* chunk = free_.front();
            free_.pop_front();
            chunk->index = nextRead_++;
            lock.unlock();
            std::size_t filled = 0;
            const std::error_code ec = fill_(chunk->index, chunk->data, chunkBytes_, filled);
            chunk->size = filled;
            lock.lock();
            if (ec) {
                if (!readError_) readError_ = ec;
                free_.push_back(chunk);
            } else {
                filled_.push_back(chunk);
            }
        }
        changed_.notify_all();
    }
}

ChunkPipe::Chunk* ChunkPipe::Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !filled_.empty() || readError_ || writeError_; });
    if (writeError_ || filled_.empty()) return nullptr;
    Chunk* chunk = filled_.front();
    filled_.pop_front();
    return chunk;
}

void ChunkPipe::Give(Chunk* chunk, const std::uint8_t* data, std::size_t size) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        writes_.push_back({chunk, data, size});
    }
    changed_.notify_all();
}

std::error_code ChunkPipe::Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return writes_.empty() && busyWrites_ == 0; });
    return writeError_;
}

std::error_code ChunkPipe::ReadError() {
    std::lock_guard<std::mutex> lock(mutex_);
    return readError_;
}

std::error_code ChunkPipe::WriteError() {
    std::lock_guard<std::mutex> lock(mutex_);
    return writeError_;
}

}  // namespace cipher
