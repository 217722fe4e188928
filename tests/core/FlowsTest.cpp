// The file flows over a scripted front end: what is asked in which order,
// and how each way of ending becomes an exit status.
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "core/flows/FileFlow.h"
#include "fileio/TreeWalk.h"
#include "tests/cipher/CipherTestSupport.h"

namespace {

using core::flows::PasswordReply;

// Answers from a script; records every question and message as its template.
class ScriptedFrontEnd : public core::flows::FrontEnd {
public:
    core::flows::PasswordAnswer AskPassword(const core::flows::PasswordQuestion& question,
                                            std::u16string& password) override {
        said.push_back(question.caption.text);
        const auto [reply, typed] = passwords.front();
        passwords.pop_front();
        password = typed;
        return {reply, core::flows::Declined()};
    }
    bool AskYesNo(const core::messages::Message& question, core::flows::DefaultAnswer) override {
        said.push_back(question.text);
        return true;
    }
    void Inform(const core::messages::Message& message) override { said.push_back(message.text); }
    cipher::ProgressSink& Progress() override { return progress; }
    void BeginBusy() override { ++busy; }
    void EndBusy() override { --busy; }

    std::deque<std::pair<PasswordReply, std::u16string>> passwords;
    std::vector<std::string> said;
    testsupport::RecordingSink progress;
    int busy = 0;
};

TEST(Flows, EncryptFileAsksTypesAgainAndOffersTheWipeInThatOrder) {
    using namespace core::messages;
    struct Case {
        std::deque<std::pair<PasswordReply, std::u16string>> passwords;
        std::vector<std::string> said;  // questions, then the outcome's message
        int status;
    };
    const Case cases[] = {
        {{{PasswordReply::Typed, u"pw"}, {PasswordReply::Typed, u"pw"}},
         {kEnterPassword, kReEnterPassword, kWipeOriginal},
         core::kCompleted},
        {{{PasswordReply::Typed, u"pw"}, {PasswordReply::Typed, u"PW"}},
         {kEnterPassword, kReEnterPassword, kDifferentPasswords},
         core::kFailed},
        {{{PasswordReply::Typed, u"pw"}, {PasswordReply::Cancelled, u""}},
         {kEnterPassword, kReEnterPassword, kDifferentPasswords},
         core::kFailed},
        // Nobody to retype it: the front end has said why; nothing more.
        {{{PasswordReply::Typed, u"pw"}, {PasswordReply::Refused, u""}},
         {kEnterPassword, kReEnterPassword},
         core::kFailed},
        {{{PasswordReply::Cancelled, u""}}, {kEnterPassword}, core::kFailed},
    };
    for (const Case& c : cases) {
        testsupport::TempDir dir;
        dir.Write("a", {'x'});
        ScriptedFrontEnd frontEnd;
        frontEnd.passwords = c.passwords;
        core::flows::FileRequest request;
        request.source = dir.U16("a");
        request.destination = dir.U16("a.enc");
        request.wipe = core::flows::WipePlan::Ask;
        std::u16string password;
        const int status = core::flows::Finish(
            frontEnd, core::flows::EncryptFile(frontEnd, request, {true, true}, password));
        EXPECT_EQ(frontEnd.said, c.said);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(dir.Exists("a"), status != core::kCompleted);
        EXPECT_EQ(frontEnd.busy, 0);
    }
}

TEST(Flows, FileFailuresEndWithTheSameStatusEverywhere) {
    const std::pair<cipher::FileError, int> cases[] = {
        {{cipher::FileFailure::SourceTooLarge, u"big", {}, cipher::FileOperation::Decrypt},
         core::kWrongPassword},
        {{cipher::FileFailure::SourceTooLarge, u"big", {}, cipher::FileOperation::Encrypt},
         core::kFailed},
        {{cipher::FileFailure::WrongPassword, u"x", {}, cipher::FileOperation::Decrypt},
         core::kWrongPassword},
        {{cipher::FileFailure::DestinationExists, u"y", {}, cipher::FileOperation::Encrypt},
         core::kFailed},
    };
    for (const auto& [error, status] : cases) {
        const core::flows::Conclusion conclusion =
            core::flows::Conclude(core::flows::FileFailed(error));
        EXPECT_EQ(conclusion.status, status);
        EXPECT_TRUE(conclusion.message.has_value());
    }
}

// A file of a folder's walk is held to the file the walk saw: one swapped in
// under its name since is not read, and nothing is written for it.
TEST(Flows, AFileSwappedSinceItWasChosenIsNotRead) {
    testsupport::TempDir dir;
    dir.Write("a", {'a'});
    dir.Write("b", {'b'});
    fileio::FileIdentity seen;
    ASSERT_TRUE(fileio::RegularFileIdentity(dir.Path("a").string(), seen.device, seen.inode));
    core::flows::FileRequest request;
    request.source = dir.U16("a");
    request.destination = dir.U16("a.enc");
    request.sourceIdentity = seen;
    auto encrypt = [&] {
        ScriptedFrontEnd frontEnd;
        std::u16string password = u"pw";
        return core::flows::EncryptFile(frontEnd, request, {false, false}, password).failure;
    };
    std::filesystem::rename(dir.Path("b"), dir.Path("a"));
    EXPECT_EQ(encrypt(), cipher::FileFailure::SourceChanged);
    EXPECT_FALSE(dir.Exists("a.enc"));
    fileio::FileIdentity now;
    ASSERT_TRUE(fileio::RegularFileIdentity(dir.Path("a").string(), now.device, now.inode));
    request.sourceIdentity = now;
    EXPECT_EQ(encrypt(), cipher::FileFailure::None);
    EXPECT_TRUE(dir.Exists("a.enc"));
}

}  // namespace
