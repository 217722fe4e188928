#include "CipherFiles.h"

#include <QFile>

#include "cipher/clsBlowfish.h"

namespace {

clsBlowfish::ByteArray ToBytes(const QByteArray& data) {
    return clsBlowfish::ByteArray(data.begin(), data.end());
}

QByteArray FromBytes(const clsBlowfish::ByteArray& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

}  // namespace

bool WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

std::optional<QByteArray> ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

bool WriteEncrypted(const QString& path, const QByteArray& plain, const QString& password) {
    clsBlowfish engine;
    clsBlowfish::ByteArray bytes = ToBytes(plain);
    engine.EncryptByte(bytes, password.toStdU16String());
    return WriteFile(path, FromBytes(bytes));
}

std::optional<QByteArray> ReadDecrypted(const QString& path, const QString& password) {
    const std::optional<QByteArray> content = ReadFile(path);
    if (!content) return std::nullopt;
    clsBlowfish engine;
    clsBlowfish::ByteArray bytes = ToBytes(*content);
    if (!engine.DecryptByte(bytes, password.toStdU16String())) return std::nullopt;
    return FromBytes(bytes);
}

QByteArray SampleBytes(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    bytes.append("\r\nend\0", 6);
    return bytes;
}
