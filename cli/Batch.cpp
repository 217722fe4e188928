#include "cli/Batch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "cipher/ChunkWorkers.h"
#include "cli/CliFrontEnd.h"
#include "cli/ProgressBar.h"
#include "core/Utf8.h"
#include "fileio/FileStore.h"

namespace cli {

namespace {

using namespace std::chrono_literals;

// The progress of one job, read by the thread that draws the bar.
class JobProgress final : public cipher::ProgressSink {
public:
    void Progress(std::int32_t& Percent) override { percent = Percent; }
    void SetStatusText(const std::u16string&) override {}
    void PumpEvents() override {}

    std::atomic<std::int32_t> percent{0};
};

// A job's front end: nobody is asked anything (the password is known), and
// what it has to say is kept for later.
class HeldFrontEnd final : public core::flows::FrontEnd {
public:
    explicit HeldFrontEnd(std::string subject) : subject_(std::move(subject)) {}

    core::flows::PasswordAnswer AskPassword(const core::flows::PasswordQuestion&,
                                            std::u16string&) override {
        return {core::flows::PasswordReply::Refused, core::flows::Declined()};
    }
    bool AskYesNo(const core::messages::Message&, core::flows::DefaultAnswer) override {
        return false;
    }
    void Inform(const core::messages::Message& message) override {
        held_.emplace_back(core::messages::Render(message));
    }
    cipher::ProgressSink& Progress() override { return progress_; }
    void BeginBusy() override {}
    void EndBusy() override {}

    void Release() const {
        for (const std::string& text : held_) Complain(subject_, text);
    }
    std::int32_t Percent() const { return progress_.percent; }

private:
    std::string subject_;
    std::vector<std::string> held_;
    JobProgress progress_;
};

// What a job weighs in the bar: its input's size (standard input counts as one byte).
std::uint64_t Weight(const FileJob& job) {
    std::error_code ec;
    const std::optional<std::u16string> name = core::DecodeUtf8(job.input);
    if (job.input == "-" || !name) return 1;
    const std::filesystem::path path = fileio::ToPath(*name, ec);
    const std::uintmax_t size = ec ? 0 : std::filesystem::file_size(path, ec);
    return ec || size == 0 ? 1 : size;
}

}  // namespace

int RunBatch(const std::vector<FileJob>& jobs, std::size_t threads, bool progress,
             const std::u16string& password, const JobReport& report) {
    const std::size_t count = jobs.size();
    threads = std::max<std::size_t>(1, std::min(threads, count));
    const std::size_t share = std::max<std::size_t>(1, cipher::WorkerThreads() / threads);
    std::vector<std::unique_ptr<HeldFrontEnd>> frontEnds;
    std::vector<std::uint64_t> weights;
    std::uint64_t totalWeight = 0;
    for (const FileJob& job : jobs) {
        frontEnds.push_back(
            std::make_unique<HeldFrontEnd>(job.input == "-" ? "standard input" : job.input));
        weights.push_back(Weight(job));
        totalWeight += weights.back();
    }
    std::vector<int> statuses(count, core::kCompleted);
    std::vector<char> done(count, 0);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> nextJob{0};

    auto work = [&] {
        const cipher::ThreadShare budget(share);
        for (std::size_t i; (i = nextJob++) < count;) {
            int status = core::kFailed;
            try {
                status = report(*frontEnds[i], jobs[i], Run(jobs[i], *frontEnds[i], password));
            } catch (const std::bad_alloc&) {
                frontEnds[i]->Inform(core::messages::Plain(core::messages::kOutOfMemory));
            } catch (const std::exception& error) {
                frontEnds[i]->Inform({"%1", {core::messages::ForUnexpected(error.what())}});
            }
            std::lock_guard<std::mutex> lock(mutex);
            statuses[i] = status;
            done[i] = 1;
            finished.notify_all();
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < threads; ++t) workers.emplace_back(work);

    ProgressBar bar(std::to_string(count) + " files", progress);
    int status = core::kCompleted;
    std::unique_lock<std::mutex> lock(mutex);
    for (std::size_t released = 0; released < count;) {
        if (done[released]) {
            lock.unlock();
            frontEnds[released]->Release();
            lock.lock();
            status = core::flows::WorstStatus(status, statuses[released]);
            ++released;
            continue;
        }
        finished.wait_for(lock, 100ms);
        double sum = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const double percent = done[i] ? 100.0 : frontEnds[i]->Percent();
            sum += percent * static_cast<double>(weights[i]);
        }
        std::int32_t Percent = static_cast<std::int32_t>(sum / static_cast<double>(totalWeight));
        lock.unlock();
        bar.Progress(Percent);
        lock.lock();
    }
    lock.unlock();
    for (std::thread& worker : workers) worker.join();
    bar.Finish();
    return status;
}

}  // namespace cli
