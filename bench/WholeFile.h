#pragma once

namespace bench {

// When the program was started as the child of a whole-file measurement
// ("--whole-file-child encrypt|decrypt IN OUT"), runs that one file
// operation and returns the exit code; otherwise returns -1.
int RunWholeFileChild(int argc, char** argv);

// Starts the helper process that runs the measured commands. Call it early,
// while the benchmark is still small.
void StartCommandLauncher();

// Registers the whole-file figures: EncryptFile and DecryptFile against
// `openssl enc -bf-cbc` on the same file, each run as a separate process so
// that its wall time and peak resident memory are its own.
void RegisterWholeFileBenchmarks();

}  // namespace bench
