#pragma once

namespace core {

// Keeps the program's secrets (passwords, plain text) out of core dumps: no
// core file is written for this process or the processes it starts, and
// other processes of the same user may not attach to it or read its memory.
// Call first thing in main(); safe between fork and exec, since it only makes
// system calls.
void KeepSecretsOutOfCoreDumps();

}  // namespace core
