#include "app/Global.h"

#include "app/platform/PointerControl.h"
#include "core/ExistingFile.h"

namespace Global {

std::u16string CurrentPassword;

namespace {

int displayCount = 0;

}  // namespace

bool FileExists(const std::u16string& path) {
    return core::IsExistingFileOrMatch(path);
}

bool SetCursorState(const std::int32_t& code, app::PointerControl& pointer) {
    switch (code) {
        case 0:
            pointer.SetHourglass(false);
            return true;
        case 1:
            pointer.SetHourglass(true);
            return true;
        case 2:
            --displayCount;
            pointer.SetHidden(displayCount < 0);
            return true;
        case 3:
            ++displayCount;
            pointer.SetHidden(displayCount < 0);
            return true;
        default:
            return false;
    }
}

int CursorDisplayCount() {
    return displayCount;
}

}  // namespace Global
