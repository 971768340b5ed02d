#include "ScriptedDialogs.h"

namespace pwtest {

ScriptedDialogs::ScriptedDialogs() {
    pw::SetDialogs(this);
}
ScriptedDialogs::~ScriptedDialogs() {
    pw::SetDialogs(nullptr);
}

std::vector<ScriptedDialogs::Call> ScriptedDialogs::Messages() const {
    std::vector<Call> result;
    for (const Call& call : calls)
        if (call.kind == Kind::Message)
            result.push_back(call);
    return result;
}

pw::MsgAnswer ScriptedDialogs::Message(QWidget* owner, const QString& text, const QString& caption,
                                       pw::MsgIcon icon, pw::MsgButtons buttons) {
    calls.push_back({Kind::Message, text, caption, icon, buttons, owner, nullptr, {}});
    if (buttons == pw::MsgButtons::Ok)
        return pw::MsgAnswer::Ok;
    if (answers.empty())
        return pw::MsgAnswer::No;
    const pw::MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

// Records a chooser and answers it from choices.
std::optional<QString> ScriptedDialogs::Choose(Kind kind, QWidget* owner, const QString& title,
                                               const QString& initialName) {
    calls.push_back({kind, title, {}, pw::MsgIcon::None, pw::MsgButtons::Ok, owner, nullptr, initialName});
    std::optional<QString> choice;
    if (!choices.empty()) {
        choice.swap(choices.front());
        choices.pop_front();
    }
    return choice;
}

std::optional<QString> ScriptedDialogs::ChooseFolder(QWidget* owner, const QString& title,
                                                     const QString& startFolder) {
    return Choose(Kind::ChooseFolder, owner, title, startFolder);
}

std::optional<QString> ScriptedDialogs::ChooseOpenFile(QWidget* owner, const QString& title,
                                                       const QString& initialName, const QString&) {
    return Choose(Kind::ChooseOpenFile, owner, title, initialName);
}

std::optional<QString> ScriptedDialogs::AskSaveName(QWidget* owner, const QString& title,
                                                    const QString& initialName, const QString&) {
    return Choose(Kind::ChooseSaveFile, owner, title, initialName);
}

void ScriptedDialogs::Beep() {
    calls.push_back({Kind::Beep, {}, {}, pw::MsgIcon::None, pw::MsgButtons::Ok, nullptr, nullptr, {}});
}

int ScriptedDialogs::RunModal(QDialog* dialog) {
    calls.push_back({Kind::RunModal, {}, {}, pw::MsgIcon::None, pw::MsgButtons::Ok, nullptr, dialog, {}});
    if (onModal)
        onModal(dialog);
    if (modalResults.empty())
        return 0;
    const int result = modalResults.front();
    modalResults.pop_front();
    return result;
}

} // namespace pwtest
