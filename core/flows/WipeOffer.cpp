#include "core/flows/WipeOffer.h"

#include "core/SourceWipe.h"
#include "core/Utf8.h"

namespace core {

namespace flows {

Outcome OfferWipe(FrontEnd& frontEnd, WipePlan plan, const std::u16string& source,
                  const std::u16string& destination, const std::u16string& password) {
    if (plan == WipePlan::Never || MaybeSameFile(source, destination)) return Completed();
    if (plan == WipePlan::Ask &&
        !frontEnd.AskYesNo(messages::Plain(messages::kWipeOriginal), DefaultAnswer::Yes)) {
        return Completed();
    }
    WipeResult result{WipeOutcome::NotVerified, {}};
    {
        const BusyScope busy(frontEnd);
        result = WipeSource(source, destination, password, &frontEnd.Progress());
    }
    return WipeEnded(result, EncodeUtf8(source));
}

}  // namespace flows

}  // namespace core
