#include "core/flows/FileSet.h"

#include <algorithm>
#include <filesystem>

#include "cipher/SecureZero.h"
#include "core/DestinationName.h"
#include "core/SourceWipe.h"
#include "core/Utf8.h"
#include "fileio/TreeWalk.h"

namespace core {

namespace flows {

namespace {

// The most problems a summary box names.
constexpr std::size_t kListed = 20;

SetProblem Skipped(const char* text, std::vector<std::string> args) {
    return {{text, std::move(args)}, false, false};
}

SetProblem Failure(const char* text, std::vector<std::string> args) {
    return {{text, std::move(args)}, true, false};
}

bool EndsInEnc(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    if (name.size() - base <= 4) return false;
    std::string suffix = name.substr(name.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return suffix == ".enc";
}

bool Exists(const std::string& name) {
    std::error_code ec;
    return std::filesystem::symlink_status(name, ec).type() !=
               std::filesystem::file_type::not_found &&
           !ec;
}

void AddFile(FileSet& set, const fileio::TreeEntry& entry, bool overwrite) {
    const bool encrypt = set.direction == FileDirection::Encrypt;
    if (encrypt == EndsInEnc(entry.path)) {
        // Decrypting: not encrypted data, not part of the set.
        if (encrypt)
            set.problems.push_back(Skipped(messages::kSkippedEncrypted, {ShownName(entry.path)}));
        return;
    }
    const std::optional<std::u16string> name = DecodeUtf8(entry.path);
    if (!name) {
        set.problems.push_back(Failure(messages::kNameNotText, {ShownName(entry.path)}));
        return;
    }
    const std::string destination = EncodeUtf8(DestinationFor(*name).value_or(u""));
    if (!overwrite && Exists(destination)) {
        set.problems.push_back(
            {{messages::kSkippedExisting, {entry.path, destination}}, false, true});
        return;
    }
    set.files.push_back({entry.path, destination, entry.size, entry.device, entry.inode});
}

void AddEntry(FileSet& set, const fileio::TreeEntry& entry, bool overwrite) {
    switch (entry.kind) {
        case fileio::TreeEntryKind::File:
            return AddFile(set, entry, overwrite);
        case fileio::TreeEntryKind::Link:
            set.problems.push_back(Skipped(messages::kSkippedLink, {ShownName(entry.path)}));
            return;
        case fileio::TreeEntryKind::Special:
            set.problems.push_back(Skipped(messages::kSkippedSpecial, {ShownName(entry.path)}));
            return;
        case fileio::TreeEntryKind::FolderFailed:
            set.problems.push_back(Failure(messages::kFolderUnreadable,
                                           {ShownName(entry.path), entry.error.message()}));
            return;
    }
}

// A name given by the user: a folder is walked, a regular file taken as it is.
void AddName(FileSet& set, const std::string& name, bool overwrite) {
    std::vector<fileio::TreeEntry> entries;
    const std::error_code ec = fileio::WalkTree(name, entries);
    if (ec == std::errc::not_a_directory) {
        // A file named itself: taken, or skipped, as one found in a folder.
        fileio::TreeEntry entry;
        entry.path = name;
        std::error_code statError;
        const auto status = std::filesystem::symlink_status(name, statError);
        if (!statError && std::filesystem::is_symlink(status)) {
            entry.kind = fileio::TreeEntryKind::Link;
            return AddEntry(set, entry, overwrite);
        }
        if (!statError && std::filesystem::is_regular_file(status) &&
            fileio::RegularFileIdentity(name, entry.device, entry.inode)) {
            entry.size = std::filesystem::file_size(name, statError);
            return AddFile(set, entry, overwrite);
        }
        if (!statError && std::filesystem::exists(status)) {
            entry.kind = fileio::TreeEntryKind::Special;
            return AddEntry(set, entry, overwrite);
        }
    }
    if (ec == std::errc::not_a_directory || ec == std::errc::no_such_file_or_directory) {
        set.problems.push_back(Failure(messages::kNotFileOrFolder, {ShownName(name)}));
        return;
    }
    if (ec) {
        set.problems.push_back(
            Failure(messages::kFolderUnreadable, {ShownName(name), ec.message()}));
        return;
    }
    for (const fileio::TreeEntry& entry : entries) AddEntry(set, entry, overwrite);
}

std::string Number(std::size_t n) {
    return std::to_string(n);
}

}  // namespace

std::string ShownName(const std::string& name) {
    if (DecodeUtf8(name)) return name;
    static const char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            shown += c;
        } else {
            shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 15]);
        }
    }
    return shown;
}

FileSet PlanSet(const std::vector<std::string>& names, FileDirection direction, bool overwrite) {
    FileSet set;
    set.direction = direction;
    for (const std::string& name : names) AddName(set, name, overwrite);
    return set;
}

SetTally::SetTally(const FileSet& set) : direction_(set.direction), files_(set.files.size()) {
    for (const SetProblem& problem : set.problems) Skip(problem);
}

void SetTally::Count(const SetProblem& problem) {
    if (problem.failed) {
        ++failed_;
        status_ = WorstStatus(status_, kFailed);
    } else {
        ++skipped_;
    }
}

void SetTally::Skip(SetProblem problem) {
    Count(problem);
    problems_.push_back(std::move(problem));
}

void SetTally::Add(const SetFile& file, const Outcome& outcome) {
    const bool done = outcome.ending == Ending::Completed || outcome.ending == Ending::NotWiped;
    const Conclusion conclusion = Conclude(outcome);
    status_ = WorstStatus(status_, conclusion.status);
    if (done) ++done_;
    if (!conclusion.message) {
        if (!done) ++failed_;
        return;
    }
    // Every message names its file, also where the engine's does not.
    messages::Message message = *conclusion.message;
    const std::string shown = ShownName(file.source);
    if (messages::Render(message).find(shown) == std::string::npos) {
        message = {"\"%1\": %2", {shown, messages::Render(message)}};
    }
    if (!done) ++failed_;
    problems_.push_back({std::move(message), !done, false});
}

void SetTally::StoppedAt(const std::string& source) {
    stoppedAt_ = source;
    status_ = WorstStatus(status_, kFailed);
}

void SetTally::Note(const Outcome& outcome) {
    const Conclusion conclusion = Conclude(outcome);
    status_ = WorstStatus(status_, conclusion.status);
    if (conclusion.message) problems_.push_back({*conclusion.message, false, false});
}

messages::Message SetTally::Summary() const {
    const bool encrypt = direction_ == FileDirection::Encrypt;
    messages::Message counts{encrypt ? messages::kSetEncrypted : messages::kSetDecrypted,
                             {Number(done_), Number(skipped_), Number(failed_)}};
    if (!stoppedAt_) return counts;
    return {messages::kSetStopped, {ShownName(*stoppedAt_), messages::Render(counts)}};
}

messages::Message SetTally::Preview() const {
    const bool encrypt = direction_ == FileDirection::Encrypt;
    return {encrypt ? messages::kSetWouldEncrypt : messages::kSetWouldDecrypt,
            {Number(files_), Number(skipped_), Number(failed_)}};
}

std::vector<SetProblem> SetTally::TakeNewProblems() {
    std::vector<SetProblem> fresh(problems_.begin() + static_cast<std::ptrdiff_t>(reported_),
                                  problems_.end());
    reported_ = problems_.size();
    return fresh;
}

SetFrontEnd::SetFrontEnd(FrontEnd& inner, std::uint64_t totalBytes)
    : inner_(inner), total_(totalBytes) {}

void SetFrontEnd::BeginFile(std::uint64_t bytes) {
    done_ += current_;
    current_ = bytes;
    std::int32_t start = 0;
    Progress(start);
}

void SetFrontEnd::Progress(std::int32_t& Percent) {
    const double part = static_cast<double>(std::clamp(Percent, 0, 100)) / 100.0;
    const double done = static_cast<double>(done_) + part * static_cast<double>(current_);
    auto overall =
        total_ == 0 ? 100 : static_cast<std::int32_t>(done * 100.0 / static_cast<double>(total_));
    // A file's wipe checks it again from the start; the set's progress does
    // not go back.
    overall = std::max(overall, shown_);
    if (overall == shown_) return;
    shown_ = overall;
    cipher::ProgressSink& sink = inner_.Progress();
    std::int32_t value = overall;
    sink.Progress(value);
    std::u16string text = u"Working... ";
    for (const char c : std::to_string(overall)) text += static_cast<char16_t>(c);
    sink.SetStatusText(text + u"%");
}

void RunSetFiles(FrontEnd& frontEnd, const FileSet& set, SetTally& tally, bool reportEach,
                 const SetFileRun& one) {
    std::uint64_t total = 0;
    for (const SetFile& file : set.files) total += file.bytes;
    auto report = [&] {
        if (!reportEach) return;
        for (const SetProblem& problem : tally.TakeNewProblems()) frontEnd.Inform(problem.message);
    };
    const BusyScope busy(frontEnd);
    SetFrontEnd setFrontEnd(frontEnd, total);
    for (const SetFile& file : set.files) {
        setFrontEnd.BeginFile(file.bytes);
        std::uint64_t device = 0, inode = 0;
        if (!fileio::RegularFileIdentity(file.source, device, inode) || device != file.device ||
            inode != file.inode) {
            tally.Skip({{messages::kSkippedChanged, {ShownName(file.source)}}, false, false});
            report();
            continue;
        }
        const Outcome outcome = one(file, setFrontEnd);
        if (outcome.failure == cipher::FileFailure::Stopped) {
            tally.StoppedAt(file.source);
            break;
        }
        tally.Add(file, outcome);
        report();
    }
}

messages::Message SummaryWithProblems(const SetTally& tally) {
    const std::vector<SetProblem>& problems = tally.Problems();
    if (problems.empty()) {
        messages::Message summary = tally.Summary();
        if (!tally.Stopped()) summary = {"%1.", {messages::Render(summary)}};
        return summary;
    }
    std::string lines;
    for (std::size_t i = 0; i < problems.size() && i < kListed; ++i) {
        lines += messages::Render(problems[i].message) + "\n";
    }
    if (problems.size() > kListed) {
        lines += messages::Render({messages::kSetMore, {Number(problems.size() - kListed)}});
    }
    return {messages::kSetDetails, {messages::Render(tally.Summary()), lines}};
}

namespace {

// After a set was encrypted: each original wiped once its own encrypted
// file checks out, with the progress of all of them.
void WipeOriginals(FrontEnd& frontEnd, const std::vector<const SetFile*>& encrypted,
                   const std::u16string& password, SetTally& tally) {
    const BusyScope busy(frontEnd);
    std::uint64_t bytes = 0;
    for (const SetFile* file : encrypted) bytes += file->bytes;
    SetFrontEnd wipes(frontEnd, bytes);
    for (const SetFile* file : encrypted) {
        wipes.BeginFile(file->bytes);
        const WipeResult result = WipeSource(
            *DecodeUtf8(file->source), *DecodeUtf8(file->destination), password, &wipes.Progress());
        tally.Note(WipeEnded(result, file->source));
    }
}

}  // namespace

int RunSet(FrontEnd& frontEnd, const FileSet& set, const PasswordPlan& plan,
           std::u16string& password, WipePlan wipe) {
    SetTally tally(set);
    const bool encrypt = set.direction == FileDirection::Encrypt;
    if (!set.files.empty()) {
        if (std::optional<Outcome> ended = ObtainPassword(frontEnd, plan, password)) {
            return Finish(frontEnd, *ended);
        }
        std::vector<const SetFile*> encrypted;
        RunSetFiles(frontEnd, set, tally, false, [&](const SetFile& file, FrontEnd& each) {
            FileRequest request;
            request.direction = set.direction;
            request.source = *DecodeUtf8(file.source);
            request.destination = *DecodeUtf8(file.destination);
            request.overwrite = false;
            request.sameFileAllowed = false;
            request.sourceIdentity = fileio::FileIdentity{file.device, file.inode};
            std::u16string key = password;
            const cipher::WipedOnExit wipeKey(key);
            const PasswordPlan known{false, false};
            Outcome outcome = encrypt ? EncryptFile(each, request, known, key)
                                      : DecryptFile(each, request, known, key);
            if (outcome.ending == Ending::Completed) encrypted.push_back(&file);
            return outcome;
        });
        if (encrypt && !encrypted.empty() && wipe != WipePlan::Never &&
            (wipe == WipePlan::Always ||
             frontEnd.AskYesNo({messages::kWipeOriginals, {Number(encrypted.size())}},
                               DefaultAnswer::Yes))) {
            WipeOriginals(frontEnd, encrypted, password, tally);
        }
        // As after one file: a decryption leaves no password behind.
        if (!encrypt) cipher::Wipe(password);
    }
    frontEnd.Inform(SummaryWithProblems(tally));
    return tally.Status();
}

}  // namespace flows

}  // namespace core
