#include "tests/app/support/FakePlatform.h"

#include <gtest/gtest.h>

#include "app/Global.h"

void ScriptedMessages::Inform(const QString& text) {
    informed.push_back(text);
    if (onShow) onShow();
}

bool ScriptedMessages::AskYesNo(const QString& text, core::flows::DefaultAnswer preselectedAnswer) {
    asked.push_back(text);
    preselected.push_back(preselectedAnswer);
    if (onShow) onShow();
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompt::Ask(const QString& labelCaption, const QString& title) {
    captions.push_back(labelCaption);
    titles.push_back(title);
    Global::CurrentPassword.clear();
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted password prompt: " << labelCaption.toStdString();
        return;
    }
    if (answers.front()) Global::CurrentPassword = *answers.front();
    answers.pop_front();
}
