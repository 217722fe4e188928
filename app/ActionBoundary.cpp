#include "app/ActionBoundary.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "app/FailureMessages.h"
#include "app/platform/MessageBoxes.h"

namespace app {

namespace {

QString OutOfMemory() {
    return QCoreApplication::translate(
        "ActionBoundary",
        "There was not enough memory to finish the operation, so it was stopped.");
}

QString InvalidName() {
    return QCoreApplication::translate(
        "ActionBoundary",
        "A file name holds a character that is not valid text (an unpaired surrogate), so it "
        "cannot be used.");
}

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
        return OutOfMemory();
    } catch (const std::filesystem::filesystem_error& error) {
        if (error.code() == std::errc::illegal_byte_sequence) return InvalidName();
        return failure::ForUnexpected(error.what());
    } catch (const std::exception& error) {
        return failure::ForUnexpected(error.what());
    } catch (...) {
        return QCoreApplication::translate("ActionBoundary",
                                           "The operation failed for an unknown reason.");
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

}  // namespace app
