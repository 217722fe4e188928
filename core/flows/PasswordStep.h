#pragma once

#include <optional>
#include <string>

#include "core/flows/FrontEnd.h"

namespace core {

namespace flows {

// How an action comes by its password.
struct PasswordPlan {
    bool ask = true;       // ask before the work; otherwise `password` holds it already
    bool confirm = false;  // ask a second time and go on only when both match
    // The file the password is for, in UTF-8, named in the prompts' titles
    // after the application's name (one of several files); empty for none.
    std::string subject = {};
};

// Obtains the password into `password`: asks for it when the plan says so,
// treats an empty one as no password (nothing done, nothing said), refuses
// one the cipher cannot use (emptied, and said why) and has it confirmed.
// Nothing when the action goes on; otherwise how it ends.
std::optional<Outcome> ObtainPassword(FrontEnd& frontEnd, const PasswordPlan& plan,
                                      std::u16string& password);

}  // namespace flows

}  // namespace core
