#pragma once

#include <QString>
#include <functional>

namespace app {

class MessageBoxes;

// The edge of every user action (a button, a drop, the command line). The
// event pump runs window events in the middle of an action, so a click can
// arrive while one is still running: it is refused, one action at a time.
// Nothing an action throws gets past this edge: the user is told what went
// wrong, in a box and on standard error, and the program carries on.
class ActionBoundary {
public:
    explicit ActionBoundary(MessageBoxes& messages) : messages_(messages) {}
    ActionBoundary(const ActionBoundary&) = delete;
    ActionBoundary& operator=(const ActionBoundary&) = delete;

    // True while an action runs.
    bool Running() const { return running_; }

    // Runs the action unless another one is running. True when it ran to its
    // end; false when it was refused or ended with an exception.
    bool Run(const std::function<void()>& action);

    // What to tell the user about the exception being handled; call it from
    // inside a catch block.
    static QString DescribeCurrentException();

private:
    MessageBoxes& messages_;
    bool running_ = false;
};

}  // namespace app
