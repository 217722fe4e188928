#pragma once

// The name of the temporary file that an operation is writing at this
// moment, so that a signal handler can remove it before the program ends.
// One operation at a time on each thread.
namespace filestore {

// Registers the temporary file `name` in the folder open as `folder`.
void RegisterPendingName(int folder, const char* name);
void ClearPendingName();

// Removes the registered file, if any. Safe to call from a signal handler.
void RemovePendingName();

}  // namespace filestore
