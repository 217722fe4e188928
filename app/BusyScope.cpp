#include "app/BusyScope.h"

#include <QWidget>

#include "app/Global.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/Platform.h"

namespace {
constexpr std::int32_t kHourglass = 1;
constexpr std::int32_t kDefaultPointer = 0;
}  // namespace

BusyScope::BusyScope(Platform& platform, QWidget& mainWindow)
    : platform_(platform), mainWindow_(mainWindow) {
    Global::SetCursorState(kHourglass, platform_.pointer);
    mainWindow_.setEnabled(false);
    platform_.status.Show();
}

BusyScope::~BusyScope() {
    mainWindow_.setEnabled(true);
    platform_.status.Close();
    Global::SetCursorState(kDefaultPointer, platform_.pointer);
}
