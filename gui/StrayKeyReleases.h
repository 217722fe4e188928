#pragma once

#include <QObject>
#include <QPointer>
#include <map>

class QWidget;

namespace gui {

// Drops key releases whose press went to another window. When one box closes
// on the press of Escape or Enter and the next prompt opens at once, the
// release of that key would otherwise reach the new prompt, which acts on
// releases, and answer it before the user saw it. Installed on the
// application while it exists.
class StrayKeyReleases final : public QObject {
public:
    StrayKeyReleases();
    ~StrayKeyReleases() override;
    StrayKeyReleases(const StrayKeyReleases&) = delete;
    StrayKeyReleases& operator=(const StrayKeyReleases&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<int, QPointer<QWidget>> pressedIn_;  // key -> window that got its press
};

}  // namespace gui
