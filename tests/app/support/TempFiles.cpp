#include "tests/app/support/TempFiles.h"

#include <QFile>
#include <QFileInfo>

QString TempFiles::Path(const QString& name) const {
    return QFile::decodeName(dir_.Path(QFile::encodeName(name).toStdString()).c_str());
}

QString TempFiles::Write(const QString& name, const QByteArray& content) const {
    testsupport::WriteFile(dir_ / QFile::encodeName(name).toStdString(),
                           {content.begin(), content.end()});
    return Path(name);
}

QByteArray TempFiles::Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

bool TempFiles::Exists(const QString& path) {
    return QFileInfo::exists(path);
}
