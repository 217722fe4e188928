#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "app/Global.h"
#include "app/platform/PointerControl.h"
#include "tests/app/support/FakePlatform.h"
#include "tests/app/support/TempFiles.h"

namespace {

bool Exists(const QString& path) {
    return Global::FileExists(path.toStdU16String());
}

TEST(FileExists, CountsRegularFilesOnly) {
    TempFiles files;
    const QString plain = files.Write("plain.txt", "x");
    const QString dotFile = files.Write(".hidden", "x");
    const QString readOnly = files.Write("locked.txt", "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    QDir(files.Path({})).mkdir("folder");

    EXPECT_TRUE(Exists(plain));
    EXPECT_TRUE(Exists(dotFile));
    EXPECT_TRUE(Exists(readOnly));
    EXPECT_FALSE(Exists({}));
    EXPECT_FALSE(Exists(files.Path("folder")));
    EXPECT_FALSE(Exists(files.Path("missing.txt")));
    EXPECT_FALSE(Exists(files.Path("no-such-folder/plain.txt")));
    EXPECT_FALSE(Exists("/dev/null"));
}

TEST(FileExists, WildcardCountsWhenARegularFileMatches) {
    TempFiles files;
    files.Write("report.txt", "x");
    QDir(files.Path({})).mkdir("archive.enc");

    EXPECT_TRUE(Exists(files.Path("*.txt")));
    EXPECT_TRUE(Exists(files.Path("rep?rt.*")));
    EXPECT_TRUE(Exists(files.Path("*r*t.t?t")));
    EXPECT_FALSE(Exists(files.Path("*.TXT")));
    EXPECT_FALSE(Exists(files.Path("*.enc")));  // only a folder matches
    EXPECT_FALSE(Exists(files.Path("*.doc")));
    EXPECT_FALSE(Exists(files.Path("*/report.txt")));  // wildcards only in the last component
}

TEST(SetCursorState, CodesZeroToThreeDriveThePointerOthersDoNothing) {
    FakePointer pointer;
    EXPECT_TRUE(Global::SetCursorState(1, pointer));
    EXPECT_TRUE(pointer.hourglass);
    EXPECT_TRUE(Global::SetCursorState(0, pointer));
    EXPECT_FALSE(pointer.hourglass);

    const int count = Global::CursorDisplayCount();
    EXPECT_TRUE(Global::SetCursorState(2, pointer));
    EXPECT_EQ(Global::CursorDisplayCount(), count - 1);
    EXPECT_EQ(pointer.hidden, count - 1 < 0);
    EXPECT_TRUE(Global::SetCursorState(3, pointer));
    EXPECT_EQ(Global::CursorDisplayCount(), count);
    EXPECT_EQ(pointer.hidden, count < 0);

    Global::SetCursorState(1, pointer);
    for (const std::int32_t code : {-1, 4}) EXPECT_FALSE(Global::SetCursorState(code, pointer));
    EXPECT_TRUE(pointer.hourglass);
    EXPECT_EQ(Global::CursorDisplayCount(), count);
}

Qt::CursorShape OverrideShape() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor == nullptr ? Qt::LastCursor : cursor->shape();
}

TEST(QtPointer, BlankWinsOverHourglassAndBothUndo) {
    {
        app::QtPointer pointer;
        pointer.SetHourglass(true);
        EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
        pointer.SetHidden(true);
        EXPECT_EQ(OverrideShape(), Qt::BlankCursor);
        pointer.SetHidden(false);
        EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
        pointer.SetHourglass(false);
        EXPECT_EQ(OverrideShape(), Qt::LastCursor);
        pointer.SetHourglass(true);
    }
    EXPECT_EQ(OverrideShape(), Qt::LastCursor);  // nothing left behind
}

}  // namespace
