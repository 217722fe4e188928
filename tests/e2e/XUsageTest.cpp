// Command lines that cannot be used show the usage text in a message box and
// end with exit status 2 once the user closes it; nothing is read or written.

#include <QDir>

#include "CipherFiles.h"
#include "XSession.h"

namespace {

class XUsage : public XSession {};

TEST_F(XUsage, MalformedCommandLinesShowUsageBox) {
    ASSERT_TRUE(WriteFile(Path("abc"), "plain"));
    const QList<QStringList> commands = {
        {"hello"},                          // no "/" at all
        {"/encrypt", "/abc"},               // fewer than three "/"
        {"/encrypt", "/string", "/123"},    // a string needs the last field
        {"/wipe", "/abc", "/123", "/out"},  // unknown operation
        {"/decrypt", "/abc", "/123"},       // nothing left after dropping ".enc"
        {""},                               // an empty variable in a script
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        auto program = Start(command);
        ASSERT_TRUE(DismissBox());
        ASSERT_TRUE(program->WaitForExit());
        EXPECT_EQ(program->ExitStatus(), 2);
    }
    EXPECT_EQ(QDir(QtPath(folder_)).entryList(QDir::Files), QStringList{"abc"});
    EXPECT_EQ(ReadFile(Path("abc")), "plain");
}

TEST_F(XUsage, NoArgumentsShowsTheMainWindowAndKeepsRunning) {
    auto program = Start({});
    EXPECT_FALSE(x_.WaitForWindow(kTitle).isEmpty());
    EXPECT_FALSE(program->WaitForExit(0));
}

}  // namespace
