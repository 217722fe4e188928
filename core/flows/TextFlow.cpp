#include "core/flows/TextFlow.h"

#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"

namespace core {

namespace flows {

namespace {

constexpr bool kBase64 = true;

Outcome Transform(FrontEnd& frontEnd, TextDirection direction, std::u16string& text,
                  std::u16string& password, std::u16string& result) {
    clsBlowfish cipher(&frontEnd.Progress());
    try {
        result = direction == TextDirection::Encrypt
                     ? cipher.EncryptString(text, password, kBase64)
                     : cipher.DecryptString(text, password, kBase64);
        return Completed();
    } catch (const cipher::UnrepresentableTextError& error) {
        return Failed(messages::UnrepresentableMessage(error.CodePoint()));
    } catch (const cipher::WrongPasswordError&) {
        return WrongPassword(messages::Plain(messages::kWrongPasswordForText));
    } catch (const cipher::Base64Error&) {
        return WrongPassword(messages::Plain(messages::kWrongPasswordForText));
    } catch (const cipher::ContainerTooLargeError&) {
        return Failed(messages::Plain(messages::kTextTooLongToEncrypt));
    } catch (const cipher::Base64EncodingError&) {
        return Failed(messages::Plain(messages::kTextEncodingFailed));
    }
}

}  // namespace

Outcome TransformText(FrontEnd& frontEnd, TextDirection direction, std::u16string text,
                      const PasswordPlan& plan, std::u16string& password, std::u16string& result) {
    const cipher::WipedOnExit wipeText(text);
    // However the action ends, the next one asks for the password again.
    const cipher::WipedOnExit wipePassword(password);
    if (std::optional<Outcome> none = ObtainPassword(frontEnd, plan, password)) return *none;
    if (direction == TextDirection::Encrypt) {
        if (const std::optional<char32_t> bad = cipher::codepage::FirstUnrepresentable(text)) {
            return Failed(messages::UnrepresentableMessage(*bad));
        }
    }
    return Transform(frontEnd, direction, text, password, result);
}

}  // namespace flows

}  // namespace core
