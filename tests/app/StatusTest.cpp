// The status window and the progress sink that feeds it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <chrono>

#include "app/forms/StatusForm.h"
#include "app/forms/StatusProgress.h"
#include "app/forms/StatusWindow.h"
#include "app/platform/Twips.h"
#include "tests/app/support/FakePlatform.h"

namespace {

using namespace std::chrono_literals;

TEST(StatusForm, YellowStripAtTopLeftThatNeverTakesFocus) {
    QWidget focused;
    focused.show();
    focused.activateWindow();

    StatusForm form;
    const app::TwipsLayout layout = app::TwipsLayout::For(form);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), QRect(0, 0, layout.ToPixels(2000), layout.ToPixels(200)));
    EXPECT_EQ(form.Label1()->geometry(), QRect(QPoint(0, 0), form.size()));
    EXPECT_EQ(form.Label1()->text(), "Working...");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(form.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);

    const QImage image = form.grab().toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)}) {
        EXPECT_EQ(image.pixelColor(corner), QColor(255, 255, 0));
    }
    EXPECT_NE(QApplication::activeWindow(), &form);
}

TEST(QtStatusWindow, CreatesOnFirstTextAndRecreatesAfterClose) {
    app::QtStatusWindow status;
    EXPECT_EQ(status.Form(), nullptr);
    status.SetText("Working... 40%");
    ASSERT_NE(status.Form(), nullptr);
    EXPECT_TRUE(status.Form()->isVisible());
    EXPECT_EQ(status.Form()->Label1()->text(), "Working... 40%");

    status.Form()->close();  // as the main window's unload does
    EXPECT_EQ(status.Form(), nullptr);
    status.Show();
    ASSERT_NE(status.Form(), nullptr);
    EXPECT_EQ(status.Form()->Label1()->text(), "Working...");
    status.Close();
    EXPECT_EQ(status.Form(), nullptr);
}

struct ManualClock {
    std::chrono::steady_clock::time_point now{};
    app::StatusProgress::Clock Function() {
        return [this] { return now; };
    }
};

TEST(StatusProgress, PumpsAtMostOncePerIntervalUnlessTheTextChanged) {
    FakeStatusWindow status;
    CountingPump pump;
    ManualClock clock;
    app::StatusProgress progress(status, pump, clock.Function());

    for (int i = 0; i < 1000; ++i) progress.PumpEvents();
    EXPECT_EQ(pump.pumps, 0);

    clock.now += app::StatusProgress::kPumpInterval;
    progress.PumpEvents();
    progress.PumpEvents();
    EXPECT_EQ(pump.pumps, 1);

    clock.now += 1ms;
    progress.SetStatusText(u"Working... 7%");
    EXPECT_TRUE(status.visible);
    EXPECT_EQ(status.text, "Working... 7%");
    progress.PumpEvents();  // the new text shows at once
    progress.PumpEvents();
    EXPECT_EQ(pump.pumps, 2);
}

}  // namespace
