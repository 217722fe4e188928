// Stopping a running operation through the flows' front end, for one file
// and for a set: nothing half-written is left, and a set's summary says
// where it stopped.
#include <gtest/gtest.h>

#include "core/flows/FileSet.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using testsupport::ByteArray;
using testsupport::TempDir;

// Asks to stop at the `stopAt`-th check between chunks and answers the
// question with `yes`; records what it is told as templates.
class StoppingFrontEnd : public core::flows::FrontEnd {
public:
    core::flows::PasswordAnswer AskPassword(const core::flows::PasswordQuestion&,
                                            std::u16string& password) override {
        password = u"pw";
        return {};
    }
    bool AskYesNo(const core::messages::Message& question, core::flows::DefaultAnswer) override {
        said.push_back(question.text);
        return yes;
    }
    void Inform(const core::messages::Message& message) override {
        said.push_back(message.text);
        last = core::messages::Render(message);
    }
    cipher::ProgressSink& Progress() override { return progress; }
    void BeginBusy() override {}
    void EndBusy() override {}
    core::flows::StopRequest TakeStopRequest() override {
        return ++checks == stopAt ? core::flows::StopRequest::Confirm
                                  : core::flows::StopRequest::None;
    }

    int stopAt = 3;
    int checks = 0;
    bool yes = true;
    std::vector<std::string> said;
    std::string last;
    testsupport::RecordingSink progress;
};

constexpr std::size_t kLarge = 3 << 20;  // a dozen chunks

TEST(FileSet, AStopInTheMiddleOfAFileLeavesTheDestinationAndNoTemporaryFile) {
    const ByteArray old{'o', 'l', 'd'};
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        TempDir dir;
        const ByteArray plain = testsupport::RandomBytes(kLarge, 5);
        dir.Write("a", plain);
        dir.Write("a.enc", old);
        StoppingFrontEnd frontEnd;
        frontEnd.yes = yes;
        core::flows::FileRequest request;
        request.source = dir.U16("a");
        request.destination = dir.U16("a.enc");
        std::u16string password = u"pw";
        const int status = core::flows::Finish(
            frontEnd, core::flows::EncryptFile(frontEnd, request, {false, false}, password));
        EXPECT_EQ(dir.Entries(), (std::set<std::string>{"a", "a.enc"}));
        EXPECT_EQ(dir.Read("a"), plain);
        if (yes) {
            EXPECT_EQ(status, core::kFailed);
            EXPECT_EQ(frontEnd.said, (std::vector<std::string>{core::messages::kStopQuestion,
                                                               core::messages::kStopped}));
            EXPECT_EQ(dir.Read("a.enc"), old);
        } else {
            EXPECT_EQ(status, core::kCompleted);
            EXPECT_EQ(dir.Read("a.enc").size(), kLarge + 16);
        }
    }
}

TEST(FileSet, AStoppedSetKeepsTheFinishedFilesAndSaysWhereItStopped) {
    TempDir dir;
    dir.Write("1", {'1'});
    dir.Write("2", testsupport::RandomBytes(kLarge, 6));
    dir.Write("3", {'3'});
    const core::flows::FileSet set =
        core::flows::PlanSet({dir.Path().string()}, core::flows::FileDirection::Encrypt, false);
    ASSERT_EQ(set.files.size(), 3u);
    StoppingFrontEnd frontEnd;
    frontEnd.stopAt = 4;  // the one chunk of "1", then the third of "2"
    std::u16string password;
    const int status =
        core::flows::RunSet(frontEnd, set, {true, true}, password, core::flows::WipePlan::Never);
    EXPECT_EQ(status, core::kFailed);
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"1", "1.enc", "2", "3"}));
    EXPECT_EQ(frontEnd.said.back(), core::messages::kSetStopped);
    EXPECT_NE(frontEnd.last.find((dir.Path() / "2").string()), std::string::npos);
    EXPECT_NE(frontEnd.last.find("1 encrypted, 0 skipped, 0 failed"), std::string::npos)
        << frontEnd.last;
    // One progress for the set, never going back.
    const std::vector<std::int32_t>& reported = frontEnd.progress.reported;
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    ASSERT_FALSE(reported.empty());
    EXPECT_LT(reported.back(), 100);
}

}  // namespace
