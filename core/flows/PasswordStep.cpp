#include "core/flows/PasswordStep.h"

#include "cipher/CodePage.h"
#include "cipher/SecureZero.h"

namespace core {

namespace flows {

namespace {

PasswordQuestion Question(const PasswordPlan& plan, const char* caption, bool again) {
    messages::Message title =
        plan.subject.empty() ? messages::Plain(messages::kApplicationTitle)
                             : messages::Message{messages::kApplicationTitleFor, {plan.subject}};
    return {std::move(title), messages::Plain(caption), again};
}

// The second typing: a different password, or none at all, is a mismatch;
// where nobody could be asked the first time's message was enough.
std::optional<Outcome> Confirm(FrontEnd& frontEnd, const PasswordPlan& plan,
                               std::u16string& password) {
    std::u16string first = password;
    const cipher::WipedOnExit wipeFirst(first);
    const PasswordAnswer answer =
        frontEnd.AskPassword(Question(plan, messages::kReEnterPassword, true), password);
    if (answer.reply == PasswordReply::Refused) return answer.outcome;
    if (answer.reply == PasswordReply::Cancelled || password != first) {
        return Failed(messages::Plain(messages::kDifferentPasswords));
    }
    return std::nullopt;
}

}  // namespace

std::optional<Outcome> ObtainPassword(FrontEnd& frontEnd, const PasswordPlan& plan,
                                      std::u16string& password) {
    if (plan.ask) {
        const PasswordAnswer answer =
            frontEnd.AskPassword(Question(plan, messages::kEnterPassword, false), password);
        if (answer.reply == PasswordReply::Refused) return answer.outcome;
        if (answer.reply == PasswordReply::Cancelled) cipher::Wipe(password);
    }
    if (password.empty()) return Declined();
    // Refused as soon as it is known, before anything else is asked, and
    // emptied so that no later action takes it up.
    if (const std::optional<char32_t> bad = cipher::codepage::FirstUnrepresentable(password)) {
        cipher::Wipe(password);
        return Failed(messages::UnrepresentableMessage(*bad));
    }
    if (plan.confirm) return Confirm(frontEnd, plan, password);
    return std::nullopt;
}

}  // namespace flows

}  // namespace core
