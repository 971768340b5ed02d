#include "gui/string_editor/dlgSearchText.h"

#include "gui/widgets/ComboBoxRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace pw {

namespace {

constexpr int kClientWidth = 332;
constexpr int kFindClientHeight = 180;
constexpr int kFindOptionsTop = 40;
constexpr int kBoxLeft = 96;
constexpr int kBoxWidth = 228;
constexpr int kGroupWidth = 154;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

QCheckBox* AddOption(QGroupBox* group, const char* name, const QString& caption, int row) {
    auto* box = new QCheckBox(caption, group);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(8, 17 + 20 * row, kGroupWidth - 14, 17);
    return box;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, kButtonWidth, kButtonHeight);
    return button;
}

} // namespace

TTextSearchDialog::TTextSearchDialog(QWidget* parent)
    : TTextSearchDialog(parent, QStringLiteral("Search Text"), kFindClientHeight, kFindOptionsTop) {}

TTextSearchDialog::TTextSearchDialog(QWidget* parent, const QString& caption, int clientHeight,
                                     int optionsTop)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TextSearchDialog"));
    setWindowTitle(caption);
    BuildControls(optionsTop);
    // The buttons' captions are the program's own, whatever language the toolkit's texts are in.
    btnOK = AddButton(this, "btnOK", QStringLiteral("OK"), 170, clientHeight - 32);
    btnOK->setDefault(true);
    btnCancel = AddButton(this, "btnCancel", QStringLiteral("Cancel"), 249, clientHeight - 32);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(kClientWidth, clientHeight);
}

QComboBox* TTextSearchDialog::MakeTextBox(QWidget* parent, const char* name, int top) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert); // the history is kept by FormCloseQuery
    // Completing from the history must not change the letter case of what is typed.
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    box->setGeometry(kBoxLeft, top, kBoxWidth, 21);
    ApplyComboBoxRules(box);
    return box;
}

void TTextSearchDialog::BuildControls(int optionsTop) {
    Label1 = new QLabel(QStringLiteral("&Search for:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 12, 85, 13);
    cbSearchText = MakeTextBox(this, "cbSearchText", 8);
    Label1->setBuddy(cbSearchText);

    gbSearchOptions = new QGroupBox(QStringLiteral("Options"), this);
    gbSearchOptions->setObjectName(QStringLiteral("gbSearchOptions"));
    gbSearchOptions->setGeometry(8, optionsTop, kGroupWidth, 127);
    cbSearchCaseSensitive =
        AddOption(gbSearchOptions, "cbSearchCaseSensitive", QStringLiteral("C&ase sensitivity"), 0);
    cbSearchWholeWords =
        AddOption(gbSearchOptions, "cbSearchWholeWords", QStringLiteral("&Whole words only"), 1);
    cbSearchFromCursor =
        AddOption(gbSearchOptions, "cbSearchFromCursor", QStringLiteral("Search from &caret"), 2);
    cbSearchSelectedOnly =
        AddOption(gbSearchOptions, "cbSearchSelectedOnly", QStringLiteral("&Selected text only"), 3);
    cbRegularExpression =
        AddOption(gbSearchOptions, "cbRegularExpression", QStringLiteral("&Regular expression"), 4);

    rgSearchDirection = new QGroupBox(QStringLiteral("Direction"), this);
    rgSearchDirection->setObjectName(QStringLiteral("rgSearchDirection"));
    rgSearchDirection->setGeometry(170, optionsTop, kGroupWidth, 65);
    mForward = new QRadioButton(QStringLiteral("&Forward"), rgSearchDirection);
    mForward->setGeometry(8, 18, kGroupWidth - 16, 17);
    mForward->setChecked(true);
    mBackward = new QRadioButton(QStringLiteral("&Backward"), rgSearchDirection);
    mBackward->setGeometry(8, 40, kGroupWidth - 16, 17);
}

bool TTextSearchDialog::SearchBackwards() const {
    return mBackward->isChecked();
}
void TTextSearchDialog::SetSearchBackwards(bool backwards) {
    (backwards ? mBackward : mForward)->setChecked(true);
}
bool TTextSearchDialog::SearchCaseSensitive() const {
    return cbSearchCaseSensitive->isChecked();
}
void TTextSearchDialog::SetSearchCaseSensitive(bool on) {
    cbSearchCaseSensitive->setChecked(on);
}
bool TTextSearchDialog::SearchFromCursor() const {
    return cbSearchFromCursor->isChecked();
}
void TTextSearchDialog::SetSearchFromCursor(bool on) {
    cbSearchFromCursor->setChecked(on);
}
bool TTextSearchDialog::SearchInSelectionOnly() const {
    return cbSearchSelectedOnly->isChecked();
}
void TTextSearchDialog::SetSearchInSelectionOnly(bool on) {
    cbSearchSelectedOnly->setChecked(on);
}
bool TTextSearchDialog::SearchWholeWords() const {
    return cbSearchWholeWords->isChecked();
}
void TTextSearchDialog::SetSearchWholeWords(bool on) {
    cbSearchWholeWords->setChecked(on);
}
bool TTextSearchDialog::SearchRegularExpression() const {
    return cbRegularExpression->isChecked();
}
QString TTextSearchDialog::SearchText() const {
    return cbSearchText->currentText();
}
void TTextSearchDialog::SetSearchText(const QString& text) {
    cbSearchText->setEditText(text);
}
QStringList TTextSearchDialog::SearchTextHistory() const {
    return History(cbSearchText);
}
void TTextSearchDialog::SetSearchTextHistory(const QStringList& history) {
    SetHistory(cbSearchText, history);
}

void TTextSearchDialog::done(int result) {
    if (result == QDialog::Accepted)
        FormCloseQuery();
    QDialog::done(result);
}

void TTextSearchDialog::FormCloseQuery() {
    PutTextFirst(cbSearchText);
}

void TTextSearchDialog::PutTextFirst(QComboBox* box) {
    const QString text = box->currentText();
    if (text.isEmpty())
        return;
    const int same = box->findText(text, Qt::MatchFixedString); // letter case ignored
    if (same >= 0)
        box->removeItem(same);
    box->insertItem(0, text);
    box->setCurrentIndex(0);
}

void TTextSearchDialog::SetHistory(QComboBox* box, const QStringList& history) {
    const QString text = box->currentText();
    box->clear();
    box->addItems(history);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

QStringList TTextSearchDialog::History(const QComboBox* box) {
    QStringList history;
    for (int i = 0; i < box->count(); ++i)
        history << box->itemText(i);
    return history;
}

} // namespace pw
