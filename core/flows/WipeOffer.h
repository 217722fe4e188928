#pragma once

#include <string>

#include "core/flows/FrontEnd.h"

namespace core {

namespace flows {

// Whether the original goes once it has been encrypted.
enum class WipePlan {
    Never,   // kept
    Ask,     // "Wipe original?", Yes being the default
    Always,  // wiped without asking
};

// After an encryption into destination: asks (or not) whether to wipe
// source, and wipes it in the busy state once the encrypted file has been
// checked against it under password. A file encrypted in place is the only
// copy and is never wiped. Completed, or NotWiped with the reason.
Outcome OfferWipe(FrontEnd& frontEnd, WipePlan plan, const std::u16string& source,
                  const std::u16string& destination, const std::u16string& password);

}  // namespace flows

}  // namespace core
