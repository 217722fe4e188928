#include "tests/app/support/TempFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

TempFiles::TempFiles() {
    EXPECT_TRUE(dir_.isValid());
}

QString TempFiles::Write(const QString& name, const QByteArray& content) const {
    const QString path = Path(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

QByteArray TempFiles::Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

bool TempFiles::Exists(const QString& path) {
    return QFileInfo::exists(path);
}
