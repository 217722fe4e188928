#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cipher/BlowfishTables.h"
#include "cipher/CbcLoops.h"
#include "cipher/FileError.h"
#include "cipher/ProgressSink.h"
#include "fileio/FileIdentity.h"

class clsBlowfishTestAccess;
namespace cipher {
class ByteSink;
class ByteSource;
class ByteStream;
class PipedContainer;
class ChunkPipe;
class ChunkWorkers;
}  // namespace cipher
namespace fileio {
class PendingFile;
class SourceFile;
}  // namespace fileio

// The cipher engine: a block cipher with the structure of Blowfish (its
// substitution boxes dealt from the pi words round-robin), a chained container
// with a random first block and a length header, Base64, and whole-string and
// whole-file operations. One object per operation; not thread-safe.
class clsBlowfish {
public:
    using ByteArray = std::vector<std::uint8_t>;

    // Where the initial substitution boxes take their pi words from. The
    // program always uses Interleaved; Published is the textbook Blowfish
    // layout, kept so the round function and key schedule can be checked
    // against the published test vectors.
    enum class TableLayout { Interleaved, Published };

    explicit clsBlowfish(cipher::ProgressSink* sink = nullptr,
                         TableLayout layout = TableLayout::Interleaved);
    ~clsBlowfish();
    clsBlowfish(const clsBlowfish&) = delete;
    clsBlowfish& operator=(const clsBlowfish&) = delete;

    // Receives the Progress event, the status text and the event pump.
    void SetProgressSink(cipher::ProgressSink* sink) { sink_ = sink; }

    // The write-only Key property: derives the tables from New_Value. An
    // empty value restores the initial tables. Throws
    // UnrepresentableTextError (tables left as they were) for a character
    // outside the code page.
    void Key(const std::u16string& New_Value);

    // Replaces byteArray by its container. A non-empty Key is assigned first.
    // Throws ContainerTooLargeError before touching the array when the
    // container would exceed 2^31 - 1 bytes.
    void EncryptByte(ByteArray& byteArray, const std::u16string& Key = {});

    // Replaces a container by its data bytes and returns true. When the
    // size descriptor is not valid (wrong key, damaged or foreign data), or
    // the length is not a whole number of blocks, the array is left as far as
    // it was deciphered and the result is false.
    bool DecryptByte(ByteArray& byteArray, const std::u16string& Key = {});

    // Base64 with 76-character lines separated by CR LF, and a lenient
    // decoder. DecodeArray64 throws Base64Error when nothing is left to
    // decode; Encode64 throws UnrepresentableTextError for text outside the
    // code page.
    std::u16string EncodeArray64(const ByteArray& bytInput);
    ByteArray DecodeArray64(const std::u16string& sInput);
    std::u16string Encode64(const std::u16string& sInput);
    std::u16string Decode64(const std::u16string& sInput);

    // Text <-> ciphertext text. On success Key and then Text are emptied. On
    // failure both keep their values and the error propagates:
    // UnrepresentableTextError, Base64Error, Base64EncodingError when the
    // ciphertext could not be encoded, or WrongPasswordError when the
    // deciphered container is not valid.
    std::u16string EncryptString(std::u16string& Text, std::u16string& Key,
                                 bool OutputIn64 = false);
    std::u16string DecryptString(std::u16string& Text, std::u16string& Key,
                                 bool IsTextIn64 = false);

    // File -> file. True when the destination was written. Raw containers
    // stream through a small private buffer, so memory stays flat whatever
    // the size. The destination is replaced only once its new content is
    // complete on disk; on any failure it is left as it was. A destination
    // that is not a regular file, is read-only, or is a symbolic link that
    // may not be followed is refused. When the operation is declined
    // (missing source, a folder as source, a name that is not valid on this
    // system, existing destination without Overwrite) the arguments keep
    // their values; otherwise Key, InFile and OutFile are emptied. The
    // reason for a false result is in LastError().
    bool EncryptFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                     std::u16string& Key, bool OutputIn64 = false);
    bool DecryptFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                     std::u16string& Key, bool IsFileIn64 = false);

    // A source of known length into a sink, chunk by chunk as the files
    // are, for the command-line tool's streams: the container (Base64 text
    // when OutputIn64) of all of `input`, and the data of a raw container.
    // The tables are reset and Key assigned as by EncryptFile and
    // DecryptFile; a wrong password is found before anything is written.
    // True when everything was written; the reason otherwise is in
    // LastError(), with empty paths.
    bool EncryptStream(cipher::ByteSource& input, cipher::ByteSink& output,
                       const std::u16string& Key, bool OutputIn64 = false);
    bool DecryptStream(cipher::ByteSource& container, cipher::ByteSink& output,
                       const std::u16string& Key);
    // The same for a container of a length not known up front (a pipe): the
    // length is taken from the size descriptor, and the stream must end
    // exactly there. Data is written before that end shows whether the
    // container was whole, so the output must be one that only appears on
    // success (a pending file); on failure LastError() says what the
    // stream's whole length shows, as DecryptStream would have.
    bool DecryptPiped(cipher::ByteStream& container, cipher::ByteSink& output,
                      const std::u16string& Key);

    const cipher::FileError& LastError() const { return lastError_; }

    // For a file chosen before (a folder's walk): the next EncryptFile or
    // DecryptFile fails as for a source that changed unless its source,
    // once opened, is still this file.
    void ExpectSource(const fileio::FileIdentity& identity) { expectedSource_ = identity; }

    // Whether `container` decrypts under Key (assigned first when not empty)
    // to exactly the content of `plain`. Both are read from their start a
    // chunk at a time, with progress; ec holds a read failure.
    bool ContainerHolds(fileio::SourceFile& container, fileio::SourceFile& plain,
                        const std::u16string& Key, std::error_code& ec);

private:
    friend class clsBlowfishTestAccess;

    void ResetTables();
    void EncryptBlock(std::uint32_t& L, std::uint32_t& R) const;
    void DecryptBlock(std::uint32_t& L, std::uint32_t& R) const;
    std::uint32_t RoundFunction(std::uint32_t x) const;
    static std::uint32_t GetWord(const ByteArray& array, std::size_t p);
    static void PutWord(ByteArray& array, std::size_t p, std::uint32_t w);
    void InitBase64Tables();
    bool IsExistingFile(const std::u16string& path) const;

    // The container length for D data bytes; throws ContainerTooLargeError
    // beyond 2^31 - 1 bytes.
    static std::size_t ContainerSize(std::size_t D);
    // Turns a container-sized buffer whose data bytes already stand at
    // offset 12 into the enciphered container.
    void SealContainer(std::uint8_t* container, std::size_t D);
    bool CreateDestination(fileio::PendingFile& output, const std::filesystem::path& destination,
                           const std::u16string& OutFile);
    bool EncryptChunks(cipher::ByteSource& input, cipher::ByteSink& output, bool base64,
                       const std::u16string& InFile, const std::u16string& OutFile);
    bool DecryptChunks(cipher::ByteSource& container, cipher::ByteSink& output,
                       const std::u16string& InFile, const std::u16string& OutFile);
    // The result of writing and putting a new file in place, with the reason
    // for a failure.
    bool CommitOutcome(std::error_code ec, const std::u16string& OutFile);
    // Clears LastError() for a streamed operation and assigns a non-empty Key.
    bool BeginStream(cipher::FileOperation operation, const std::u16string& Key);
    // Why a piped container did not fit its size descriptor, as its whole
    // length tells.
    bool MismatchedLength(cipher::PipedContainer& source);
    // A source that could not be read, or that changed while it was read.
    bool SourceFailure(std::error_code ec, const std::u16string& InFile);
    bool PipeFailure(cipher::ChunkPipe& pipe, const std::u16string& InFile,
                     const std::u16string& OutFile);
    // After the last chunk: the source's end confirmed, then the rest written.
    bool FinishChunks(cipher::ChunkPipe& pipe, cipher::ByteSource& input,
                      const std::u16string& InFile, const std::u16string& OutFile);
    void ScheduleKey(const std::vector<std::uint8_t>& keyBytes);
    // Chained encipherment of whole blocks with progress; each returns the
    // last percentage reported.
    std::int32_t EncryptBlocks(std::uint8_t* data, std::size_t bytes);
    // Sets dataBytes when the container was valid and its data now stands
    // at the front of the array.
    std::int32_t DecryptBlocks(std::uint8_t* data, std::size_t bytes, std::size_t total,
                               std::optional<std::size_t>& dataBytes);
    // Whether the deciphered size descriptor matches a container of N bytes.
    static bool ValidDescriptor(const std::uint8_t* container, std::size_t N);
    template <typename Range>
    std::int32_t WalkChain(std::size_t bytes, std::size_t total, Range& range);

    // A container transformed in spans: the chain and the progress state
    // carry on from one span to the next, so the reports are those of the
    // whole container transformed at once.
    struct ChainWalk {
        cipher::Chain chain;
        std::int32_t last = 0;
        double threshold = 0;
        std::size_t total = 0;
    };
    template <typename Range>
    void WalkSpan(std::size_t from, std::size_t to, ChainWalk& walk, Range& range);
    // The blocks of container offsets [from, to), which stand at data.
    void EncryptSpan(std::uint8_t* data, std::size_t from, std::size_t to, ChainWalk& walk);
    void DecryptSpan(std::uint8_t* data, std::size_t from, std::size_t to, ChainWalk& walk);
    // The same on the workers, a piece at a time, with the reports made in
    // order as the pieces are done.
    void DecryptSpanOn(cipher::ChunkWorkers& workers, std::uint8_t* data, std::size_t from,
                       std::size_t to, ChainWalk& walk);
    // The reports and event pumps of a walk over [from, to), for blocks
    // already transformed elsewhere.
    void ReportSpan(std::size_t from, std::size_t to, ChainWalk& walk);
    // DecryptBlocks on several threads: the blocks are deciphered in place
    // and the data moved to the front afterwards.
    std::int32_t DecryptBlocksOn(std::size_t threads, std::uint8_t* data, std::size_t bytes,
                                 std::size_t total, std::optional<std::size_t>& dataBytes);
    // The random words and the size descriptor of a container of D data bytes.
    static void WriteHeader(std::uint8_t* container, std::size_t D);
    void Report(std::size_t offset, std::size_t total, std::int32_t& last, double& threshold);
    void FinishReport(std::int32_t last);
    bool Fail(cipher::FileFailure failure, const std::u16string& path = {},
              std::error_code code = {});
    // Whether the sink asks the running file operation to end before its next chunk.
    bool StopRequested() const { return sink_ != nullptr && sink_->StopRequested(); }
    bool TransformFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                       std::u16string& Key, bool base64, bool encrypt);
    bool TransformExistingFile(const std::u16string& InFile, const std::u16string& OutFile,
                               const std::u16string& Key, bool base64, bool encrypt);
    static ByteArray AsciiBytes(const std::u16string& text);

    cipher::Tables tables_;
    TableLayout layout_;
    cipher::ProgressSink* sink_;
    cipher::FileError lastError_;
    bool overwrite_ = true;  // the running file operation may replace its destination
    std::optional<fileio::FileIdentity> expectedSource_;
    char16_t base64Alphabet_[64] = {};
    std::uint8_t base64Reverse_[256] = {};
};
