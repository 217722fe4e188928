#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Files in the program's encrypted format, made and read with the engine
// itself, so the tests can prepare inputs and check outputs of the program.
bool WriteEncrypted(const QString& path, const QByteArray& plain, const QString& password);
std::optional<QByteArray> ReadDecrypted(const QString& path, const QString& password);

// Whole-file helpers.
bool WriteFile(const QString& path, const QByteArray& content);
std::optional<QByteArray> ReadFile(const QString& path);

// Bytes that exercise every byte value, CR LF and NUL included.
QByteArray SampleBytes(int size);
