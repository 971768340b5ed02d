#include "gui/library/LibrarySearchBox.h"

#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/WaitCursor.h"
#include "gui/common/Workspace.h"
#include "gui/widgets/ComboBoxRules.h"

#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include <vector>

namespace pw {

namespace {

constexpr int kBoxWidth = 873;

void SetPathEntries(QComboBox* box, const std::vector<std::string>& paths) {
    box->clear();
    for (const std::string& path : paths)
        box->addItem(FromNativePath(path), QByteArray::fromStdString(path));
}

std::string PathOfEntry(const QComboBox* box, int index) {
    return box->itemData(index).toByteArray().toStdString();
}

} // namespace

LibrarySearchBox::LibrarySearchBox(QWidget* panel, int top, const QString& boxName, const QString& buttonName,
                                   SearchMode mode, const Workspace& workspace)
    : QObject(panel), mBox(new QComboBox(panel)), mButton(new QToolButton(panel)), mMode(mode),
      mWorkspace(workspace) {
    mBox->setObjectName(boxName);
    mBox->setEditable(true);
    mBox->setInsertPolicy(QComboBox::NoInsert);
    mBox->setCompleter(nullptr); // a query must stay as typed, not complete to an old result
    ApplyComboBoxRules(mBox);
    mBox->setGeometry(4, top, kBoxWidth, kSearchBoxHeight);
    mBox->installEventFilter(this);
    mBox->lineEdit()->installEventFilter(this);
    connect(mBox, &QComboBox::activated, this,
            [this](int index) { emit FileChosen(PathOfEntry(mBox, index)); });

    mButton->setObjectName(buttonName);
    mButton->setAutoRaise(true);
    mButton->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"),
                                      panel->style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    mButton->setGeometry(4 + kBoxWidth + 4, top, kSearchBoxHeight, kSearchBoxHeight);
    connect(mButton, &QToolButton::clicked, this,
            [this] { RunGuarded(mBox->window(), [this] { Search(); }); });
}

void LibrarySearchBox::Search() {
    const std::string boxText = ToCp1251(mBox->currentText());
    if (!IsSearchQuery(boxText))
        return;
    if (!mWorkspace.libraryReady) {
        Dialogs().Message(mBox->window(),
                          QStringLiteral("Поиск недоступен: в настройках указаны не все пути к библиотеке."),
                          QStringLiteral("Внимание"), MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    const QSignalBlocker blocker(mBox);
    mBox->clear();
    mBox->setEditText(FromCp1251(SearchWaitText()));
    mBox->repaint(); // the wait text must be visible while the search blocks the window
    SearchOutcome outcome;
    {
        const WaitCursor wait;
        const std::vector<std::string>& files =
            mMode == SearchMode::Quests ? mWorkspace.questFiles : mWorkspace.infoFiles;
        outcome = SearchLibrary(mMode, boxText, files);
    }
    SetPathEntries(mBox, outcome.paths);
    mBox->setCurrentIndex(-1);
    mBox->setEditText(FromCp1251(SearchCountText(outcome.paths.size())));
}

void LibrarySearchBox::PathRenamed(const std::string& from, const std::string& to) {
    const QSignalBlocker quiet(mBox);
    const QString shown = FromNativePath(from);
    const bool current = mBox->currentText() == shown;
    const int entry = mBox->findData(QByteArray::fromStdString(from));
    if (entry >= 0) {
        mBox->setItemText(entry, FromNativePath(to));
        mBox->setItemData(entry, QByteArray::fromStdString(to));
    }
    if (current)
        mBox->setEditText(FromNativePath(to));
}

bool LibrarySearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Taken here, so the box does not also treat Enter as choosing a listed path.
            RunGuarded(mBox->window(), [this] { Search(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pw
