#pragma once

#include <QByteArray>
#include <QString>

#include "tests/support/Files.h"

// A scratch folder for file tests, removed with its content afterwards,
// with Qt's names for paths and contents.
class TempFiles {
public:
    QString Path(const QString& name) const;
    QString Write(const QString& name, const QByteArray& content) const;
    static QByteArray Read(const QString& path);
    static bool Exists(const QString& path);

private:
    testsupport::TempDir dir_;
};
