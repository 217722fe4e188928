// "Open with → Quillbox" in a file manager: the installed desktop entry,
// launched by GLib's launcher as GNOME's file manager does, on a path with
// spaces and non-ASCII letters.

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "CipherFiles.h"
#include "XSession.h"

namespace {

class XOpenWith : public XSession {
protected:
    void TearDown() override {
        if (program_ > 0) ::kill(static_cast<pid_t>(program_), SIGKILL);
    }

    // Launches the desktop entry on the file, with "quillbox" on the PATH as
    // an installed program would be; true when the launcher succeeded.
    bool Launch(const QString& file) {
        if (!QFile::link(QUILLBOX_EXECUTABLE, QtPath(bin_, "quillbox"))) {
            return false;
        }
        QProcessEnvironment environment = QuillboxProcess::OnDisplay(server_.Display());
        environment.insert("PATH", QtPath(bin_) + ':' + environment.value("PATH"));
        // The program outlives the launcher: it must not inherit pipes that
        // close with it.
        QProcess gio;
        gio.setProcessEnvironment(environment);
        gio.setStandardInputFile(QProcess::nullDevice());
        gio.setStandardOutputFile(QProcess::nullDevice());
        gio.setStandardErrorFile(QProcess::nullDevice());
        gio.start("gio", {"launch", QUILLBOX_DESKTOP_ENTRY, file});
        if (!gio.waitForFinished(20000)) return false;
        return gio.exitStatus() == QProcess::NormalExit && gio.exitCode() == 0;
    }

    testsupport::TempDir bin_;
    qint64 program_ = 0;
};

TEST_F(XOpenWith, OpensTheWindowWithTheFileAsSource) {
    ASSERT_TRUE(QDir(QtPath(folder_)).mkdir(QStringLiteral("Ordner \u00f6")));
    const QString file = Path(QStringLiteral("Ordner \u00f6/notes 1 \u20ac.txt"));
    const QByteArray plain = SampleBytes(5000);
    ASSERT_TRUE(WriteFile(file, plain));

    ASSERT_TRUE(Launch(file));
    const QString window = x_.WaitForWindow(kTitle);
    ASSERT_FALSE(window.isEmpty()) << "no window: the program ended at once";
    answered_.append(window);
    program_ = x_.WindowProcess(window);
    ASSERT_GT(program_, 0);
    // The window's Encrypt works on the source it was given, into the
    // destination derived from it.
    ASSERT_TRUE(x_.Type(window, {}, {"alt+e"}));
    ASSERT_TRUE(AnswerPrompt("pw"));
    ASSERT_TRUE(AnswerPrompt("pw"));
    ASSERT_TRUE(Answer({}, {"Escape"}));  // "Wipe original?": No
    EXPECT_EQ(ReadDecrypted(file + ".enc", "pw"), plain);
    EXPECT_EQ(ReadFile(file), plain);
    EXPECT_EQ(::kill(static_cast<pid_t>(program_), 0), 0) << "the window stays open";
}

}  // namespace
