#include "core/flows/FrontEnd.h"

namespace flows {

int Finish(FrontEnd& frontEnd, const Outcome& outcome) {
    const Conclusion conclusion = Conclude(outcome);
    if (conclusion.message) frontEnd.Inform(*conclusion.message);
    return conclusion.status;
}

}  // namespace flows
