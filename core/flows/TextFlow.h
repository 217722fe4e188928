#pragma once

#include <string>

#include "core/flows/FrontEnd.h"
#include "core/flows/PasswordStep.h"

namespace core {

namespace flows {

enum class TextDirection { Encrypt, Decrypt };

// Encrypt text and Decrypt text: the password obtained as the plan says,
// then text encrypted into Base64 text, or Base64 text decrypted, into
// result. `password` itself goes to the engine: it is empty afterwards,
// whatever the outcome, so that the next text action asks again.
Outcome TransformText(FrontEnd& frontEnd, TextDirection direction, std::u16string text,
                      const PasswordPlan& plan, std::u16string& password, std::u16string& result);

}  // namespace flows

}  // namespace core
