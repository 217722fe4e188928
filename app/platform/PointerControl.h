#pragma once

namespace app {

// The program-wide mouse pointer.
class PointerControl {
public:
    virtual ~PointerControl() = default;
    // The hourglass over every window of the program, or each window's own pointer.
    virtual void SetHourglass(bool on) = 0;
    // A blank pointer over every window of the program (the cursor is hidden).
    virtual void SetHidden(bool hidden) = 0;
};

// Qt's application override cursor: blank while hidden, else the hourglass
// while it is on, else no override.
class QtPointer final : public PointerControl {
public:
    ~QtPointer() override;
    void SetHourglass(bool on) override;
    void SetHidden(bool hidden) override;

private:
    void Apply();

    bool hourglass_ = false;
    bool hidden_ = false;
    bool overridden_ = false;
};

}  // namespace app
