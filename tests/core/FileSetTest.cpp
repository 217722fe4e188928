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
class StoppingFrontEnd : public flows::FrontEnd {
public:
    flows::PasswordAnswer AskPassword(const flows::PasswordQuestion&,
                                      std::u16string& password) override {
        password = u"pw";
        return {};
    }
    bool AskYesNo(const messages::Message& question, flows::DefaultAnswer) override {
        said.push_back(question.text);
        return yes;
    }
    void Inform(const messages::Message& message) override {
        said.push_back(message.text);
        last = messages::Render(message);
    }
    cipher::ProgressSink& Progress() override { return progress; }
    void BeginBusy() override {}
    void EndBusy() override {}
    flows::StopRequest TakeStopRequest() override {
        return ++checks == stopAt ? flows::StopRequest::Confirm : flows::StopRequest::None;
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
        flows::FileRequest request;
        request.source = dir.U16("a");
        request.destination = dir.U16("a.enc");
        std::u16string password = u"pw";
        const int status = flows::Finish(
            frontEnd, flows::EncryptFile(frontEnd, request, {false, false}, password));
        EXPECT_EQ(dir.Entries(), (std::set<std::string>{"a", "a.enc"}));
        EXPECT_EQ(dir.Read("a"), plain);
        if (yes) {
            EXPECT_EQ(status, kFailed);
            EXPECT_EQ(frontEnd.said,
                      (std::vector<std::string>{messages::kStopQuestion, messages::kStopped}));
            EXPECT_EQ(dir.Read("a.enc"), old);
        } else {
            EXPECT_EQ(status, kCompleted);
            EXPECT_EQ(dir.Read("a.enc").size(), kLarge + 16);
        }
    }
}

TEST(FileSet, AStoppedSetKeepsTheFinishedFilesAndSaysWhereItStopped) {
    TempDir dir;
    dir.Write("1", {'1'});
    dir.Write("2", testsupport::RandomBytes(kLarge, 6));
    dir.Write("3", {'3'});
    const flows::FileSet set =
        flows::PlanSet({dir.Path().string()}, flows::FileDirection::Encrypt, false);
    ASSERT_EQ(set.files.size(), 3u);
    StoppingFrontEnd frontEnd;
    frontEnd.stopAt = 4;  // the one chunk of "1", then the third of "2"
    std::u16string password;
    const int status = flows::RunSet(frontEnd, set, {true, true}, password, flows::WipePlan::Never);
    EXPECT_EQ(status, kFailed);
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"1", "1.enc", "2", "3"}));
    EXPECT_EQ(frontEnd.said.back(), messages::kSetStopped);
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
