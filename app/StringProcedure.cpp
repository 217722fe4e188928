#include "app/StringProcedure.h"

#include "app/ActionBoundary.h"
#include "app/FailureMessages.h"
#include "cipher/CipherErrors.h"
#include "cipher/clsBlowfish.h"

namespace {
constexpr bool kBase64 = true;
}  // namespace

StringOutcome TransformString(StringDirection direction, std::u16string text,
                              std::u16string& password, ProgressSink* progress) {
    clsBlowfish cipher(progress);
    try {
        const std::u16string result = direction == StringDirection::Encrypt
                                          ? cipher.EncryptString(text, password, kBase64)
                                          : cipher.DecryptString(text, password, kBase64);
        return {QString::fromStdU16String(result), {}};
    } catch (const UnrepresentableTextError& error) {
        return {std::nullopt, failure::ForUnrepresentable(error.CodePoint())};
    } catch (const WrongPasswordError&) {
        return {std::nullopt, failure::WrongPasswordForText(), true};
    } catch (const Base64Error&) {
        return {std::nullopt, failure::WrongPasswordForText(), true};
    } catch (...) {
        return {std::nullopt, ActionBoundary::DescribeCurrentException()};
    }
}
