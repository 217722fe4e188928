#include "app/ActionBoundary.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "app/MessageBoxes.h"
#include "core/Messages.h"

namespace {

const QString kOutOfMemory =
    QStringLiteral("There was not enough memory to finish the operation, so it was stopped.");
const QString kInvalidName = QStringLiteral(
    "A file name holds a character that is not valid text (an unpaired surrogate), so it "
    "cannot be used.");
const QString kUnknown = QStringLiteral("The operation failed for an unknown reason.");

// Clears the flag however the action ends.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

QString ActionBoundary::DescribeCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const std::filesystem::filesystem_error& error) {
        if (error.code() == std::errc::illegal_byte_sequence) return kInvalidName;
        return QString::fromStdString(messages::ForUnexpected(error.what()));
    } catch (const std::exception& error) {
        return QString::fromStdString(messages::ForUnexpected(error.what()));
    } catch (...) {
        return kUnknown;
    }
}

bool ActionBoundary::Run(const std::function<void()>& action) {
    if (running_) return false;
    QString failure;
    {
        const RunningFlag flag(running_);
        try {
            action();
            return true;
        } catch (...) {
            failure = DescribeCurrentException();
        }
    }
    try {
        messages_.Inform(failure);  // the box, and standard error
    } catch (...) {
        // The box itself could not be shown: standard error at least.
        std::fprintf(stderr, "Quillbox: %s\n", failure.toLocal8Bit().constData());
    }
    return false;
}
