#include "tests/cli/CliTestSupport.h"

#include "cipher/CodePage.h"

namespace clitest {

namespace {

std::u16string Key(const std::string& password) {
    return cipher::codepage::BytesToText(AsBytes(password));
}

}  // namespace

ByteArray EngineEncrypt(const ByteArray& data, const std::string& password) {
    clsBlowfish cipher;
    ByteArray bytes = data;
    cipher.EncryptByte(bytes, Key(password));
    return bytes;
}

std::string EngineBase64(const ByteArray& container) {
    clsBlowfish cipher;
    const std::u16string text = cipher.EncodeArray64(container);
    return std::string(text.begin(), text.end());
}

ByteArray EngineDecrypt(ByteArray container, bool& valid, const std::string& password) {
    clsBlowfish cipher;
    valid = cipher.DecryptByte(container, Key(password));
    return container;
}

std::string AsString(const ByteArray& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

ByteArray AsBytes(const std::string& text) {
    return ByteArray(text.begin(), text.end());
}

Launch WithPassword(const testsupport::TempDir& folder, std::vector<std::string> args,
                    const std::string& password) {
    args.push_back("--password-fd");
    args.push_back("3");
    Launch launch;
    launch.args = std::move(args);
    launch.folder = folder.Path();
    launch.descriptor3 = password + "\n";
    return launch;
}

}  // namespace clitest
