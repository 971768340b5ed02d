#include "gui/common/TableStrings.h"

#include "core/data/Cp1251.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/strings/CellWrite.h"
#include "core/strings/LanguageTable.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/FieldText.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/Workspace.h"

#include <QLineEdit>

namespace pw {

namespace {

const char* const kNoTable = "Таблица строк недоступна: в настройках указаны не все пути.";

void ShowError(QWidget* owner, const QString& message) {
    Dialogs().Message(owner, message, QStringLiteral("Ошибка"), MsgIcon::None, MsgButtons::Ok);
}

// Writes text (UTF-8) into the chosen language's cell of id, asking before a filled cell is replaced.
bool WriteLanguageText(QWidget* owner, const Workspace& workspace, const ChosenLanguage& chosen,
                       const std::string& id, const std::string& text) {
    CellWrite write;
    write.id = Cp1251ToUtf8(id);
    write.field = chosen.language.TextField();
    write.text = text;
    write.fieldCount = chosen.fieldCount;
    for (;;) {
        const CellWriteResult result = WriteTableCell(workspace.stringTable->Path(), write);
        switch (result.status) {
        case CellWriteStatus::Written:
            return true;
        case CellWriteStatus::EmptyId:
            ShowError(owner, QString::fromStdString(EmptyIdMessage()));
            return false;
        case CellWriteStatus::InvalidId:
            ShowError(owner, QString::fromStdString(result.problem));
            return false;
        case CellWriteStatus::NotInEncoding:
            // The ID was taken in Windows-1251 already, so it is the text an 8-bit table cannot hold.
            if (const auto lacking = FirstCp1251Lacks(DecodeUtf8(text).value_or(std::u32string())))
                ShowError(owner,
                          UnwritableMessage({QStringLiteral("В тексте"), DecodeUtf8(lacking->utf8)->front()},
                                            QStringLiteral("Строка не записана")));
            return false;
        case CellWriteStatus::ChangedOnDisk:
            return false; // no value was expected
        case CellWriteStatus::NeedsConfirmation:
            break;
        }
        const std::string message = DuplicateEntryMessage(result.existingText, text);
        if (Dialogs().Message(owner, QString::fromStdString(message), QStringLiteral("Внимание"),
                              MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
        write.replaceFilled = true;
    }
}

} // namespace

std::optional<ChosenLanguage> ChosenTableLanguage(const Workspace& workspace) {
    if (!workspace.stringTable || !workspace.configs || workspace.configs->TextLanguage.empty())
        return std::nullopt;
    const TableLayout layout = ReadTableLayout(workspace.stringTable->Path());
    const TableLanguage* language = layout.languages.Find(workspace.configs->TextLanguage);
    if (layout.SingleLanguage() || !language)
        return std::nullopt;
    return ChosenLanguage{*language, layout.fieldCount};
}

std::optional<QString> LanguageText(const Workspace& workspace, const std::string& id) {
    const std::optional<ChosenLanguage> chosen = ChosenTableLanguage(workspace);
    if (!chosen)
        return std::nullopt;
    if (id == kEmptyPlaceholder || TrimView(id).empty())
        return QString();
    const std::optional<std::string> value =
        workspace.stringTable->FindTableString(Cp1251ToUtf8(id), ProfileForm::Utf8);
    if (!value)
        return QString::fromUtf8(kDialogNotFound.data(), static_cast<qsizetype>(kDialogNotFound.size()));
    const std::string_view text = FieldOf(*value, chosen->language.TextField()).value_or(std::string_view());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
    const std::optional<QString> language = LanguageText(workspace, id);
    target->setText(language ? *language : FromCp1251(workspace.stringTable->LookupTableString(id)));
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
    const std::optional<ChosenLanguage> chosen = ChosenTableLanguage(workspace);
    FieldsForWriting fields;
    // A language's text may hold whatever the table's encoding holds: the write says what it cannot.
    std::string textBytes =
        chosen ? text.toStdString() : fields.Text(text, [] { return QStringLiteral("В тексте"); });
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
    if (answer != MsgAnswer::Yes)
        return false;
    return chosen ? WriteLanguageText(owner, workspace, *chosen, idBytes, textBytes)
                  : AddTableString(owner, workspace, idBytes, textBytes);
}

} // namespace pw
