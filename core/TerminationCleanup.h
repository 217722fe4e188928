#pragma once

namespace core {

// When the program is told to end (terminate, interrupt or hang-up) while a
// file operation is writing, the operation's temporary file is removed
// before the program ends as the signal would have ended it. A request that
// arrives during a step that must not be cut (see fileio::TerminationHold)
// takes effect when the step ends. Call once at start-up, before the first
// file operation.
void RemoveTemporaryFileOnTermination();

// While on, an interrupt (Ctrl-C) does not end the program: it is noted for
// InterruptReceived, and the work stops at its next safe point. A second
// interrupt ends the program as above.
void StopOnInterrupt(bool on);
bool InterruptReceived();

}  // namespace core
