#include "cli/Outcome.h"

namespace cli {

namespace {

int Rank(int status) {
    switch (status) {
        case kCompleted:
            return 0;
        case kNotWiped:
            return 1;
        case kWrongPassword:
            return 2;
        case kFailed:
            return 3;
        default:
            return 4;
    }
}

}  // namespace

int WorstStatus(int a, int b) {
    return Rank(a) >= Rank(b) ? a : b;
}

}  // namespace cli
