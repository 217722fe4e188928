#include "app/FileProcedure.h"

#include <QString>
#include <optional>

#include "app/ActionBoundary.h"
#include "app/BusyScope.h"
#include "app/FailureMessages.h"
#include "app/forms/StatusProgress.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/Platform.h"
#include "cipher/clsBlowfish.h"

namespace {

constexpr bool kOverwrite = true;
constexpr bool kRawContainer = false;

// Runs the operation; returns the message for the user when it failed.
std::optional<QString> Transform(Platform& platform, QWidget& mainWindow, FileDirection direction,
                                 std::u16string& srcFile, std::u16string& dstFile,
                                 std::u16string& myPass, FileFailure& failure) {
    BusyScope busy(platform, mainWindow);
    StatusProgress progress(platform.status, platform.pump);
    clsBlowfish cipher(&progress);
    try {
        const bool written =
            direction == FileDirection::Encrypt
                ? cipher.EncryptFile(srcFile, dstFile, kOverwrite, myPass, kRawContainer)
                : cipher.DecryptFile(srcFile, dstFile, kOverwrite, myPass, kRawContainer);
        failure = cipher.LastError().failure;
        if (written) return std::nullopt;
        return failure::ForFile(cipher.LastError());
    } catch (...) {
        return ActionBoundary::DescribeCurrentException();
    }
}

}  // namespace

bool RunFileProcedure(Platform& platform, QWidget& mainWindow, FileDirection direction,
                      std::u16string& srcFile, std::u16string& dstFile, std::u16string& myPass,
                      FileFailure* failure) {
    // The busy state is over before the message box appears.
    FileFailure kind = FileFailure::None;
    const std::optional<QString> failureText =
        Transform(platform, mainWindow, direction, srcFile, dstFile, myPass, kind);
    if (failure != nullptr) *failure = kind;
    if (!failureText) return true;
    platform.messages.Inform(*failureText);
    return false;
}
