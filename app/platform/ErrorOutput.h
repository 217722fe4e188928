#pragma once

#include <QString>

namespace app {

// Writes one message to standard error as "Quillbox: text", each line ending
// in a plain line feed, so that terminals and scripts see what a box said.
void WriteErrorOutput(const QString& text);

}  // namespace app
