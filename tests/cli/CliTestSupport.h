#pragma once

#include <string>

#include "tests/cipher/CipherTestSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"

namespace clitest {

using testsupport::ByteArray;
using testsupport::Launch;
using testsupport::Result;

// The built quillbox-cli as a child process.
struct CliProcess : testsupport::ChildProcess {
    explicit CliProcess(const Launch& launch) : ChildProcess(QUILLBOX_CLI_PATH, launch) {}
};
inline Result RunCli(const Launch& launch, const std::string& input = {}) {
    return testsupport::Run(QUILLBOX_CLI_PATH, launch, input);
}

inline constexpr const char* kPassword = "correct horse";

// Containers made by the engine, the way the window program makes them.
ByteArray EngineEncrypt(const ByteArray& data, const std::string& password = kPassword);
std::string EngineBase64(const ByteArray& container);
// The data in a container, or the deciphered bytes with `valid` false.
ByteArray EngineDecrypt(ByteArray container, bool& valid, const std::string& password = kPassword);

std::string AsString(const ByteArray& bytes);
ByteArray AsBytes(const std::string& text);

// A launch in `folder` with the password on descriptor 3.
Launch WithPassword(const testsupport::TempDir& folder, std::vector<std::string> args,
                    const std::string& password = kPassword);

}  // namespace clitest
