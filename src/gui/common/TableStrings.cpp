#include "gui/common/TableStrings.h"

#include "core/data/Cp1251.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/FieldText.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/Workspace.h"

#include <QLineEdit>

namespace pw {

namespace {

const char* const kNoTable = "Таблица строк недоступна: в настройках указаны не все пути.";

} // namespace

bool StringTableOpen(QWidget* owner, const Workspace& workspace) {
    if (workspace.stringTable)
        return true;
    Dialogs().Message(owner, QString::fromUtf8(kNoTable), QStringLiteral("Внимание"), MsgIcon::Warning,
                      MsgButtons::Ok);
    return false;
}

void LookupTableString(const Workspace& workspace, const std::string& id, QLineEdit* target) {
    target->clear();
    if (!workspace.stringTable) {
        target->setPlaceholderText(QString::fromUtf8(kNoTable));
        return;
    }
    target->setText(FromCp1251(workspace.stringTable->LookupTableString(id)));
    target->setCursorPosition(0);
}

bool AddTableString(QWidget* owner, const Workspace& workspace, const std::string& id,
                    const std::string& text) {
    if (!StringTableOpen(owner, workspace))
        return false;
    const TStringTable& table = *workspace.stringTable;
    TStringTable::AddResult result = table.AddTableString(id, text, false);
    if (result.status == TStringTable::AddStatus::EmptyId ||
        result.status == TStringTable::AddStatus::InvalidId) {
        const std::string& message =
            result.status == TStringTable::AddStatus::EmptyId ? EmptyIdMessage() : result.problem;
        Dialogs().Message(owner, QString::fromStdString(message), QStringLiteral("Ошибка"), MsgIcon::None,
                          MsgButtons::Ok);
        return false;
    }
    if (result.status == TStringTable::AddStatus::NeedsConfirmation) {
        const std::string message =
            DuplicateEntryMessage(Cp1251ToUtf8(result.existingValue), Cp1251ToUtf8(text));
        const MsgAnswer answer =
            Dialogs().Message(owner, QString::fromStdString(message), QStringLiteral("Внимание"),
                              MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes)
            return false;
        result = table.AddTableString(id, text, true);
    }
    return result.status == TStringTable::AddStatus::Written;
}

bool AskAndAddTableString(QWidget* owner, const Workspace& workspace, const QString& id, const QString& text,
                          TextEnds ends) {
    if (!StringTableOpen(owner, workspace))
        return false;
    FieldsForWriting fields;
    std::string textBytes = fields.Text(text, [] { return QStringLiteral("В тексте"); });
    const std::string idBytes = fields.Text(id, [] { return QStringLiteral("В ID строки"); });
    if (fields.Unwritable()) {
        Dialogs().Message(owner,
                          UnwritableMessage(*fields.Unwritable(), QStringLiteral("Строка не записана")),
                          QStringLiteral("Ошибка"), MsgIcon::None, MsgButtons::Ok);
        return false;
    }
    // An ID the table cannot take is said before any question: the answer would be wasted.
    const std::string trimmedId = Trim(idBytes);
    if (const std::optional<std::string> problem =
            trimmedId.empty() ? std::optional<std::string>(EmptyIdMessage()) : InvalidIdMessage(trimmedId)) {
        Dialogs().Message(owner, QString::fromStdString(*problem), QStringLiteral("Ошибка"), MsgIcon::None,
                          MsgButtons::Ok);
        return false;
    }
    if (ends == TextEnds::Trimmed)
        textBytes = Trim(textBytes);
    const MsgAnswer answer =
        Dialogs().Message(owner, QStringLiteral("Добавить строку в таблицу строк?"),
                          QStringLiteral("Внимание"), MsgIcon::Question, MsgButtons::YesNo);
    return answer == MsgAnswer::Yes && AddTableString(owner, workspace, idBytes, textBytes);
}

} // namespace pw
