#include "app/SourceWipe.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cipher/clsBlowfish.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

using ByteArray = clsBlowfish::ByteArray;

std::filesystem::path FsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// Reads a whole file; returns the system's reason on failure, else an empty text.
QString ReadWholeFile(const QString& path, ByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) return file.errorString();
    bytes.assign(content.begin(), content.end());
    return {};
}

bool DecryptsTo(ByteArray container, const ByteArray& expected, const std::u16string& password,
                ProgressSink* progress) {
    clsBlowfish cipher(progress);
    try {
        return cipher.DecryptByte(container, password) && container == expected;
    } catch (const std::exception&) {
        return false;
    }
}

bool SyncToDisk(int handle) {
#ifdef _WIN32
    return _commit(handle) == 0;
#else
    return fsync(handle) == 0;
#endif
}

// Writes bytes over the file's own content (the same file, not a replacement)
// and waits until they are on disk.
QString OverwriteInPlace(const QString& path, const ByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) return file.errorString();
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
        return file.errorString();
    }
    if (!SyncToDisk(file.handle())) return QString::fromLocal8Bit(std::strerror(errno));
    file.close();
    return {};
}

QString DeleteFile(const QString& path) {
    std::error_code error;
    std::filesystem::remove(FsPath(path), error);
    return error ? QString::fromStdString(error.message()) : QString();
}

}  // namespace

bool MaybeSameFile(const QString& first, const QString& second) {
    std::error_code error;
    const bool same = std::filesystem::equivalent(FsPath(first), FsPath(second), error);
    return same || error;
}

WipeResult WipeSource(const QString& source, const QString& encrypted,
                      const std::u16string& password, ProgressSink* progress) {
    if (MaybeSameFile(source, encrypted)) return {WipeOutcome::SameFile, {}};
    ByteArray original, container;
    if (QString reason = ReadWholeFile(source, original); !reason.isEmpty()) {
        return {WipeOutcome::NotVerified, reason};
    }
    if (QString reason = ReadWholeFile(encrypted, container); !reason.isEmpty()) {
        return {WipeOutcome::NotVerified, reason};
    }
    if (!DecryptsTo(container, original, password, progress)) return {WipeOutcome::NotVerified, {}};
    if (QString reason = OverwriteInPlace(source, container); !reason.isEmpty()) {
        return {WipeOutcome::OverwriteFailed, reason};
    }
    if (QString reason = DeleteFile(source); !reason.isEmpty()) {
        return {WipeOutcome::DeleteFailed, reason};
    }
    return {WipeOutcome::Wiped, {}};
}
