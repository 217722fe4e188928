#pragma once

#include <QByteArray>

namespace gui {

// Qt ends a program that cannot open its display with abort(). While a guard
// exists, that failure instead prints a clear message on standard error and
// ends the program with the guard's exit status, after the given further text
// (such as the usage text); nothing has been done yet at that point. Create it just before the
// application object and remove it right after.
class DisplayGuard {
public:
    DisplayGuard(int exitStatus, const QByteArray& furtherText);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

}  // namespace gui
