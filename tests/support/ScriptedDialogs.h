#pragma once
// A dialogs service for tests: records every call and answers from queues set by the test.
// Installs itself on construction and restores the Qt service on destruction.

#include "gui/common/UserDialogs.h"

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace pwtest {

class ScriptedDialogs : public pw::UserDialogs {
public:
    enum class Kind { Message, ChooseFolder, ChooseOpenFile, ChooseSaveFile, Beep, RunModal };
    struct Call {
        Kind kind;
        QString text; // message text, or chooser title
        QString caption;
        pw::MsgIcon icon = pw::MsgIcon::None;
        pw::MsgButtons buttons = pw::MsgButtons::Ok;
        QWidget* owner = nullptr;
        QDialog* dialog = nullptr; // for RunModal
        QString initialName;       // the folder, file name or path a chooser opens with
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    std::vector<Call> calls;
    std::deque<pw::MsgAnswer> answers;          // for YesNo questions; No when empty
    std::deque<std::optional<QString>> choices; // for the choosers; cancel when empty
    std::deque<int> modalResults;               // for RunModal; 0 when empty
    // Called inside RunModal while the dialog "is shown", so a test can look at it.
    std::function<void(QDialog*)> onModal;

    // Only the message boxes, in order.
    std::vector<Call> Messages() const;

    pw::MsgAnswer Message(QWidget* owner, const QString& text, const QString& caption, pw::MsgIcon icon,
                          pw::MsgButtons buttons) override;
    std::optional<QString> ChooseFolder(QWidget* owner, const QString& title,
                                        const QString& startFolder) override;
    std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& title, const QString& initialName,
                                          const QString& filter) override;
    void Beep() override;
    int RunModal(QDialog* dialog) override;

protected:
    // Recorded as a ChooseSaveFile call; answered from choices like the other choosers.
    std::optional<QString> AskSaveName(QWidget* owner, const QString& title, const QString& initialName,
                                       const QString& filter) override;

private:
    std::optional<QString> Choose(Kind kind, QWidget* owner, const QString& title,
                                  const QString& initialName);
};

} // namespace pwtest
