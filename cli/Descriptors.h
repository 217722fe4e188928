#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "fileio/Descriptors.h"

// Reading and writing through open file descriptors: standard input and
// output, and the descriptor or file a password comes from.
namespace cli {

inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

bool IsTerminal(int fd);

// Reads up to the first line feed (not kept) or the end of input, one byte at
// a time so nothing after the line is consumed. `line` must have room for
// `maxLength` bytes reserved; a longer line fails with value_too_large.
std::error_code ReadLine(int fd, std::string& line, std::size_t maxLength);

// Whole reads and writes, shared with the layers below.
using fileio::ReadAll;
using fileio::WriteAll;

// Opens a file to read a password from: a regular file or a pipe. The open
// never waits for a writer, and other kinds of file are refused.
int OpenPasswordFile(const std::string& path, std::error_code& ec);
void CloseDescriptor(int fd);

// False where descriptors above standard error do not reach a started
// program (Windows), which rules out --password-fd there.
bool DescriptorsReachProgram();
// The password options that work here, for messages: "--password-fd,
// --password-file or --password-env" where descriptors reach the program.
const char* PasswordOptions();

// Keeps a write to a closed pipe an error instead of the end of the process.
void IgnoreBrokenPipes();

// Gives standard input and output, where they are pipes, the largest buffer
// the system allows a user (1 MiB on Linux against 64 KiB), so that the data
// crosses in a few large steps rather than thousands of small ones, each a
// switch between this program and the one at the pipe's other end.
void WidenPipes();

}  // namespace cli
