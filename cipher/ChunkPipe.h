#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace cipher {

// A file streamed through a few small private buffers: a helper thread reads
// the chunks ahead and writes the transformed ones behind, while the caller
// transforms one chunk after another on its own thread. The buffers are
// wiped when the pipe ends; nothing else keeps the data.
class ChunkPipe {
public:
    // Fills a buffer with chunk `index`: at most `capacity` bytes, the count
    // in `filled`. Called on the helper thread, for 0, 1, 2... in order.
    using Fill = std::function<std::error_code(std::size_t index, std::uint8_t* buffer,
                                               std::size_t capacity, std::size_t& filled)>;
    // Writes bytes out. Called on the helper thread, in the order given.
    using Drain = std::function<std::error_code(const std::uint8_t* data, std::size_t size)>;

    struct Chunk {
        std::uint8_t* data = nullptr;
        std::size_t size = 0;  // bytes filled
        std::size_t index = 0;
    };

    ChunkPipe(std::size_t chunkBytes, std::size_t buffers, std::size_t chunks, Fill fill,
              Drain drain);
    // Stops the helper, dropping what is not written yet, and wipes the buffers.
    ~ChunkPipe();
    ChunkPipe(const ChunkPipe&) = delete;
    ChunkPipe& operator=(const ChunkPipe&) = delete;

    // The next chunk in order, waiting for it; nothing when reading it failed
    // (see ReadError) or an earlier write failed (see WriteError).
    Chunk* Take();
    // Hands [data, data + size), which lies in the chunk's buffer, over for
    // writing; the buffer is reused afterwards.
    void Give(Chunk* chunk, const std::uint8_t* data, std::size_t size);
    // Waits until everything given is written; the first write failure.
    std::error_code Finish();

    std::error_code ReadError();
    std::error_code WriteError();

private:
    struct Pending {
        Chunk* chunk;
        const std::uint8_t* data;
        std::size_t size;
    };
    void Work();
    bool HasWork() const;

    std::size_t chunkBytes_;
    std::size_t chunks_;
    Fill fill_;
    Drain drain_;
    std::unique_ptr<std::uint8_t[]> memory_;
    std::size_t memoryBytes_;
    std::vector<Chunk> slots_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk*> free_, filled_;
    std::deque<Pending> writes_;
    std::size_t nextRead_ = 0;
    std::size_t busyWrites_ = 0;
    std::error_code readError_, writeError_;
    bool stop_ = false;
    std::thread helper_;
};

}  // namespace cipher
