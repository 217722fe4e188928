#pragma once

namespace bench {

// When the program was started as the child of a whole-file measurement
// ("--whole-file-child encrypt|decrypt IN OUT"), runs that one file
// operation and returns the exit code; otherwise returns -1.
int RunWholeFileChild(int argc, char** argv);

// Registers the whole-file figures: EncryptFile and DecryptFile against
// `openssl enc -bf-cbc` on the same file, each run as a separate process so
// that its wall time and peak resident memory are its own.
void RegisterWholeFileBenchmarks();

}  // namespace bench
