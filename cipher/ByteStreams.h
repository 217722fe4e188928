#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

#include "fileio/FileStore.h"

// Where the engine's streamed operations read from and write to, besides
// files: a spool of standard input, standard output.
namespace cipher {

// Bytes of a length known up front, read from the start in order.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `size` more bytes; a source that ends early fails.
    virtual std::error_code Read(std::uint8_t* data, std::size_t size) = 0;
    // After the last read: whether the source still ends where it did when
    // its length was taken (a file that grew or shrank meanwhile fails).
    virtual std::error_code ConfirmEnd() { return {}; }
};

// Bytes of a length not known up front (a pipe), read in order.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Reads what is there, at most `size` bytes; `count` 0 at the end.
    virtual std::error_code ReadSome(std::uint8_t* data, std::size_t size, std::size_t& count) = 0;
};

// Bytes written out in order.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual std::error_code Write(const std::uint8_t* data, std::size_t size) = 0;
};

// An opened file as a source, read from where it stands.
class FileSource final : public ByteSource {
public:
    explicit FileSource(fileio::SourceFile& file) : file_(file) {}
    std::uint64_t Size() const override { return file_.Size(); }
    std::error_code Read(std::uint8_t* data, std::size_t size) override {
        return file_.ReadExactly(data, size);
    }
    std::error_code ConfirmEnd() override { return file_.ConfirmUnchanged(); }

private:
    fileio::SourceFile& file_;
};

// The new content of a file as a sink.
class PendingFileSink final : public ByteSink {
public:
    explicit PendingFileSink(fileio::PendingFile& file) : file_(file) {}
    std::error_code Write(const std::uint8_t* data, std::size_t size) override {
        return file_.Write(data, size);
    }

private:
    fileio::PendingFile& file_;
};

}  // namespace cipher
