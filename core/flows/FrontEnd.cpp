#include "core/flows/FrontEnd.h"

namespace core {

namespace flows {

bool StopWatch::StopRequested() {
    if (stopped_) return true;
    switch (frontEnd_.TakeStopRequest()) {
        case StopRequest::None:
            break;
        case StopRequest::Confirm:
            stopped_ =
                frontEnd_.AskYesNo(messages::Plain(messages::kStopQuestion), DefaultAnswer::Yes);
            break;
        case StopRequest::Now:
            stopped_ = true;
            break;
    }
    return stopped_;
}

int Finish(FrontEnd& frontEnd, const Outcome& outcome) {
    const Conclusion conclusion = Conclude(outcome);
    if (conclusion.message) frontEnd.Inform(*conclusion.message);
    return conclusion.status;
}

}  // namespace flows

}  // namespace core
