#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A scratch folder for file tests, removed with its content afterwards.
class TempFiles {
public:
    TempFiles();
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& content) const;
    static QByteArray Read(const QString& path);
    static bool Exists(const QString& path);

private:
    QTemporaryDir dir_;
};
