#include "gui/HiddenArguments.h"

namespace gui::startup {

void HideArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        // Through a volatile pointer: the stores must happen although the
        // program never reads these bytes again.
        for (volatile char* c = argv[i]; *c != '\0'; ++c) *c = '\0';
    }
}

}  // namespace gui::startup
