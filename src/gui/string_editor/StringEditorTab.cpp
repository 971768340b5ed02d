#include "gui/string_editor/StringEditorTab.h"

#include "core/data/StrUtilsEx.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/WaitCursor.h"
#include "gui/common/Workspace.h"
#include "gui/string_editor/dlgReplaceText.h"
#include "gui/string_editor/dlgSearchText.h"
#include "gui/string_editor/ToolImages.h"
#include "gui/text_pane/TextPane.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <memory>
#include <optional>
#include <utility>

namespace pw {

namespace {

constexpr qsizetype kHistoryLength = 10;

const QString kCaption = QStringLiteral("Редактор строк");

QString EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Ansi:
        return QStringLiteral("Windows-1251");
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16LeBom:
    case TextEncoding::Utf16BeBom:
        break;
    }
    return QStringLiteral("UTF-16");
}

// Whether line (trimmed) is an entry of the key wanted: the key, A-Z folded, then blanks and "=".
bool IsEntryLine(QStringView line, QStringView wanted) {
    if (line.size() <= wanted.size())
        return false;
    const auto fold = [](QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c; };
    for (qsizetype i = 0; i < wanted.size(); ++i)
        if (fold(line[i]) != fold(wanted[i]))
            return false;
    return line.sliced(wanted.size()).trimmed().startsWith(u'=');
}

} // namespace

StringEditorTab::StringEditorTab(Workspace& workspace, QStatusBar* statusBar, QWidget* parent)
    : QWidget(parent), mWorkspace(workspace), SB(statusBar), imglMain(MakeToolImages()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolBar();
    layout->addWidget(tbMain);
    SynMemText = new TextPane(this);
    SynMemText->setObjectName(QStringLiteral("SynMemText"));
    mLoad = new BackgroundWork(this, BackgroundWork::Feedback::Quiet);
    mReplace = new BackgroundWork(this);
    layout->addWidget(SynMemText, 1);
    connect(SynMemText, &TextPane::KeyPress, this, &StringEditorTab::SynMemTextKeyPress);
    // The enabled states follow the shared settings whenever the program is idle, as any main window's
    // dialog may change them.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            actSearchUpdate();
            actSearchReplaceUpdate();
        });
    actSearchUpdate();
    actSearchReplaceUpdate();
}

QAction* StringEditorTab::AddAction(const char* name, const QString& caption, int image,
                                    const QKeySequence& shortcut, void (StringEditorTab::*execute)()) {
    auto* action = new QAction(imglMain.at(image), caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this,
            [this, execute] { RunGuarded(window(), [this, execute] { (this->*execute)(); }); });
    return action;
}

void StringEditorTab::BuildToolBar() {
    actFileOpen = AddAction("actFileOpen", QStringLiteral("&Open..."), kOpenImage,
                            QKeySequence(Qt::CTRL | Qt::Key_O), &StringEditorTab::actFileOpenExecute);
    actSearch = AddAction("actSearch", QStringLiteral("&Find..."), kFindImage,
                          QKeySequence(Qt::CTRL | Qt::Key_F), &StringEditorTab::actSearchExecute);
    actSearchNext = AddAction("actSearchNext", QStringLiteral("Find &next"), kFindNextImage,
                              QKeySequence(Qt::Key_F3), &StringEditorTab::actSearchNextExecute);
    actSearchPrev = AddAction("actSearchPrev", QStringLiteral("Find &previous"), kFindPreviousImage,
                              QKeySequence(Qt::SHIFT | Qt::Key_F3), &StringEditorTab::actSearchPrevExecute);
    actSearchReplace =
        AddAction("actSearchReplace", QStringLiteral("&Replace..."), kReplaceImage,
                  QKeySequence(Qt::CTRL | Qt::Key_H), &StringEditorTab::actSearchReplaceExecute);

    tbMain = new QToolBar(this);
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setFixedHeight(26);
    tbMain->setIconSize(QSize(16, 16));
    tbMain->setMovable(false);
    tbMain->setFloatable(false);
    const auto addButton = [this](QAction* action, const char* name) {
        tbMain->addAction(action);
        tbMain->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    };
    addButton(actFileOpen, "tbtnFileOpen");
    tbMain->addSeparator()->setObjectName(QStringLiteral("tbtnSep1"));
    addButton(actSearch, "tbtnSearch");
    addButton(actSearchNext, "tbtnSearchReplace");
    addButton(actSearchPrev, "ToolButton1");
    tbMain->addSeparator()->setObjectName(QStringLiteral("tbtnSep2"));
    addButton(actSearchReplace, "ToolButton4");
}

QList<QAction*> StringEditorTab::WindowActions() const {
    return {actFileOpen, actSearch, actSearchNext, actSearchPrev, actSearchReplace};
}

void StringEditorTab::StartLoading(const std::string& path) {
    DiscardPendingText();
    // Decoding the table and filling a document with it is most of the cost; both run off the
    // window's thread, and the bytes are let go as soon as they are decoded.
    auto prepared = std::make_shared<std::optional<PreparedText>>();
    auto work = [bytes = std::make_shared<std::string>(ReadTextFile(path)), owner = thread(),
                 prepared](const ProgressHook& hook) {
        LoadedText loaded = DecodeTextFile(std::exchange(*bytes, {}));
        if (hook(1, 2))
            *prepared = PrepareText(std::move(loaded), owner);
    };
    SetWorking(true);
    mTextWanted = false;
    mLoad->Start(
        QStringLiteral("Таблица строк читается…"), std::move(work), [this, prepared](const WorkEnd& end) {
            if (end.stopped || end.failure) {
                // The pane stays empty and read-only: nothing in it may be saved over the table.
                SB->showMessage(QStringLiteral("Таблица строк не прочитана. Ctrl+O — прочитать снова."));
                RunGuarded(window(), [&end] { end.RethrowFailure(); });
                return;
            }
            SetWorking(false);
            mPreparedText = std::move(*prepared);
            if (mTextWanted || isVisible())
                EnsureTextInPlace();
        });
}

void StringEditorTab::EnsureTextInPlace() {
    if (mLoad->Running()) {
        // The window answers while it waits, and says how far the table is read after a moment.
        mLoad->ShowProgress();
        mLoad->Wait();
    }
    if (!mPreparedText)
        return;
    PreparedText prepared = std::move(*mPreparedText);
    mPreparedText.reset();
    SynMemText->ShowPreparedText(std::move(prepared));
}

void StringEditorTab::SetWorking(bool working) {
    SynMemText->setReadOnly(working);
    actFileOpen->setEnabled(!working);
    actSearchReplaceUpdate();
}

qsizetype StringEditorTab::EntryLine(const std::string& id) {
    EnsureTextInPlace();
    const QString wanted = FromCp1251(TrimView(id));
    // A key holds no "="; the lines are read in place, nothing copied, as the table may have 100,000.
    if (wanted.isEmpty() || wanted.contains(u'='))
        return -1;
    const TextLines& lines = SynMemText->Lines();
    // 0 before the section, 1 in it, 2 past it: only the first section of the name is read.
    int section = 0;
    for (qsizetype i = 0; i < lines.LineCount() && section < 2; ++i) {
        const QStringView line = lines.Line(i).trimmed();
        if (line.startsWith(u'[')) {
            const bool ours = line.sliced(1).startsWith(u"LocAdmin_Strings]", Qt::CaseInsensitive);
            section = section == 0 && ours ? 1 : section == 1 ? 2 : section;
            continue;
        }
        if (section == 1 && IsEntryLine(line, wanted))
            return i;
    }
    return -1;
}

void StringEditorTab::ShowLine(qsizetype line) {
    SynMemText->SetSelection({{line, SynMemText->Lines().Line(line).size()}, {line, 0}});
    SynMemText->centerCursor();
}

bool StringEditorTab::ShowEntry(const std::string& id) {
    const qsizetype line = EntryLine(id);
    if (line < 0)
        return false;
    ShowLine(line);
    return true;
}

void StringEditorTab::DiscardPendingText() {
    if (mLoad->Running()) {
        mLoad->Cancel();
        mLoad->Wait();
    }
    mPreparedText.reset();
}

void StringEditorTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A table still being read goes in when it is, its progress shown after a moment.
    if (mLoad->Running()) {
        mTextWanted = true;
        mLoad->ShowProgress();
    } else {
        RunGuarded(window(), [this] { EnsureTextInPlace(); });
    }
}

void StringEditorTab::actFileOpenExecute() {
    if (Dialogs().Message(window(),
                          QStringLiteral("Обновить таблицу строк? Несохраненные изменения будут потеряны!"),
                          QStringLiteral("Внимание"), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    DiscardPendingText();
    SynMemText->ShowLoadedText({}); // a table that cannot be read leaves the pane empty
    StartLoading(mWorkspace.configs->StringTablePath);
    // The text goes in as soon as it is read.
    mTextWanted = true;
    mLoad->ShowProgress();
}

void StringEditorTab::SaveStringTableText() {
    EnsureTextInPlace();
    if (SynMemText->isReadOnly()) // the table was not read, or a replace is under way
        return;
    if (Dialogs().Message(window(), QStringLiteral("Сохранить изменения в stringtable.ini?"), kCaption,
                          MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    const std::string path = mWorkspace.configs->StringTablePath;
    std::optional<WaitCursor> wait(std::in_place);
    const EncodedText encoded =
        EncodeTextFile(SynMemText->PlainText(), SynMemText->Encoding(), SynMemText->LineBreakStyle());
    if (encoded.unencodable) {
        wait.reset();
        ShowUnencodable(*encoded.unencodable);
        return;
    }
    if (SaveTextFile(path, encoded.bytes, SynMemText->Source(), false) == SaveResult::ChangedOnDisk) {
        wait.reset();
        const QString question =
            QStringLiteral("Файл %1 изменился после того, как редактор строк его прочитал: в него могли "
                           "добавить строки кнопками «>>>», из командной строки или в другой программе. "
                           "Если сохранить, эти изменения пропадут.\n\nПерезаписать файл? Чтобы сохранить "
                           "их, ответьте «Нет» и перечитайте таблицу (Ctrl+O).")
                .arg(QString::fromStdString(path));
        if (Dialogs().Message(window(), question, kCaption, MsgIcon::Warning, MsgButtons::YesNoDefaultNo) !=
            MsgAnswer::Yes)
            return;
        wait.emplace();
        SaveTextFile(path, encoded.bytes, {}, true);
    }
    SynMemText->SetSource(FingerprintOf(encoded.bytes));
    emit TableSaved();
}

// Names the line and the character, and puts the caret on it so it can be mended at once.
void StringEditorTab::ShowUnencodable(const Unencodable& character) {
    const QString text = QString::fromUcs4(&character.character, 1);
    const qsizetype column = std::max<qsizetype>(0, SynMemText->Lines().Line(character.line).indexOf(text));
    const TextPoint place{character.line, column};
    SynMemText->SetSelection({place, {place.line, place.column + text.size()}});
    Dialogs().Message(
        window(),
        QStringLiteral("В строке %1 есть символ «%2» (U+%3), которого нет в кодировке файла (%4). "
                       "Таблица не сохранена: замените или удалите этот символ.")
            .arg(QString::number(character.line + 1), text,
                 QString::number(character.character, 16).toUpper().rightJustified(4, u'0'),
                 EncodingName(SynMemText->Encoding())),
        kCaption, MsgIcon::Warning, MsgButtons::Ok);
}

void StringEditorTab::ShowSearchDialog(bool replace) {
    SB->clearMessage();
    EnsureTextInPlace();
    SearchSettings& settings = mWorkspace.searchSettings;
    auto* replaceDialog = replace ? new TTextReplaceDialog(window()) : nullptr;
    const std::unique_ptr<TTextSearchDialog> dialog(replace ? replaceDialog
                                                            : new TTextSearchDialog(window()));
    dialog->SetSearchBackwards(settings.backwards);
    dialog->SetSearchCaseSensitive(settings.matchCase);
    dialog->SetSearchFromCursor(settings.fromCaret);
    dialog->SetSearchInSelectionOnly(settings.selectionOnly);
    dialog->SetSearchText(settings.searchText);
    dialog->SetSearchTextHistory(settings.searchHistory);
    if (replaceDialog) {
        replaceDialog->SetReplaceText(settings.replaceText);
        replaceDialog->SetReplaceTextHistory(settings.replaceHistory);
    }
    dialog->SetSearchWholeWords(settings.wholeWords);
    if (Dialogs().RunModal(dialog.get()) != QDialog::Accepted)
        return;

    settings.backwards = dialog->SearchBackwards();
    settings.matchCase = dialog->SearchCaseSensitive();
    settings.fromCaret = dialog->SearchFromCursor();
    settings.selectionOnly = dialog->SearchInSelectionOnly();
    settings.wholeWords = dialog->SearchWholeWords();
    settings.regularExpression = dialog->SearchRegularExpression();
    settings.searchText = dialog->SearchText();
    settings.searchHistory = dialog->SearchTextHistory().mid(0, kHistoryLength);
    if (replaceDialog) {
        settings.replaceText = replaceDialog->ReplaceText();
        settings.replaceHistory = replaceDialog->ReplaceTextHistory().mid(0, kHistoryLength);
    }
    actSearchUpdate();
    actSearchReplaceUpdate();
    mContinueFromCaret = settings.fromCaret;
    if (!settings.searchText.isEmpty()) {
        RunTextSearch(replace, settings.backwards);
        mContinueFromCaret = true;
    }
}

void StringEditorTab::RunTextSearch(bool replace, bool backwards) {
    SB->clearMessage();
    EnsureTextInPlace();
    if (mReplace->Running())
        return;
    const SearchSettings& settings = mWorkspace.searchSettings;
    SearchOptions options;
    options.replaceAll = replace;
    options.backwards = backwards;
    options.matchCase = settings.matchCase;
    options.wholeScope = !mContinueFromCaret;
    options.selectionOnly = settings.selectionOnly;
    options.wholeWords = settings.wholeWords;
    options.regularExpression = settings.regularExpression;
    if (!replace) {
        if (SynMemText->SearchReplace(settings.searchText, settings.replaceText, options) == 0)
            SayTextNotFound(backwards);
        return;
    }
    if (SynMemText->isReadOnly())
        return;
    // A replace through the whole table takes a moment: it searches in the background.
    const TextPane::ReplaceSearch search =
        SynMemText->ReplaceAllLater(settings.searchText, settings.replaceText, options);
    const int revision = SynMemText->Revision();
    auto outcome = std::make_shared<ReplaceOutcome>();
    SetWorking(true);
    mReplace->Start(
        QStringLiteral("Замена в таблице строк…"),
        [search, outcome](const ProgressHook& hook) { *outcome = search(hook); },
        [this, outcome, revision, backwards](const WorkEnd& end) {
            ReplaceEnded(*outcome, revision, backwards, end);
        },
        QStringLiteral("Просмотрено строк: %1 из %2"));
}

void StringEditorTab::ReplaceEnded(const ReplaceOutcome& outcome, int revision, bool backwards,
                                   const WorkEnd& end) {
    SetWorking(false);
    RunGuarded(window(), [&end] { end.RethrowFailure(); });
    if (end.failure)
        return;
    if (end.stopped) {
        SB->showMessage(QStringLiteral("Замена остановлена: текст не изменён"));
        return;
    }
    SynMemText->ApplyReplace(outcome, revision);
    if (outcome.count == 0)
        SayTextNotFound(backwards);
}

void StringEditorTab::SayTextNotFound(bool backwards) {
    Dialogs().Beep();
    SB->showMessage(QStringLiteral("Text not found"));
    const TextSelection selection = SynMemText->Selection();
    const TextPoint caret = backwards ? selection.Start() : selection.End();
    SynMemText->SetSelection({caret, caret});
}

void StringEditorTab::actSearchExecute() {
    ShowSearchDialog(false);
}
void StringEditorTab::actSearchNextExecute() {
    RunTextSearch(false, false);
}
void StringEditorTab::actSearchPrevExecute() {
    RunTextSearch(false, true);
}
void StringEditorTab::actSearchReplaceExecute() {
    ShowSearchDialog(true);
}

void StringEditorTab::actSearchUpdate() {
    const bool remembered = !mWorkspace.searchSettings.searchText.isEmpty();
    actSearchNext->setEnabled(remembered);
    actSearchPrev->setEnabled(remembered);
}

void StringEditorTab::actSearchReplaceUpdate() {
    actSearchReplace->setEnabled(!mWorkspace.searchSettings.searchText.isEmpty() &&
                                 !SynMemText->isReadOnly());
}

void StringEditorTab::SynMemTextKeyPress(QChar key) {
    if (key == QChar(19)) // Ctrl+S
        RunGuarded(window(), [this] { SaveStringTableText(); });
}

} // namespace pw
