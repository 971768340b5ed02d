#pragma once
// TTextSearchDialog, the string editor's find dialog: the text to find with its history, the options
// and the direction. The window sets every value before showing it and reads them back after OK; on
// OK the dialog first puts the text at the front of its history.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pw {

class TTextSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextSearchDialog(QWidget* parent = nullptr);

    bool SearchBackwards() const;
    void SetSearchBackwards(bool backwards);
    bool SearchCaseSensitive() const;
    void SetSearchCaseSensitive(bool on);
    bool SearchFromCursor() const;
    void SetSearchFromCursor(bool on);
    bool SearchInSelectionOnly() const;
    void SetSearchInSelectionOnly(bool on);
    bool SearchWholeWords() const;
    void SetSearchWholeWords(bool on);
    // Cleared each time the dialog is made; only read back.
    bool SearchRegularExpression() const;
    QString SearchText() const;
    void SetSearchText(const QString& text);
    // The entries of the text box's list, newest first. Setting them keeps the box's text.
    QStringList SearchTextHistory() const;
    void SetSearchTextHistory(const QStringList& history);

    // Closing with OK runs FormCloseQuery first.
    void done(int result) override;

protected:
    // The replace dialog: the same form, clientHeight high, with room for a second box under the first.
    TTextSearchDialog(QWidget* parent, const QString& caption, int clientHeight, int optionsTop);

    // The history update of OK: the text becomes the first entry of its box's list.
    virtual void FormCloseQuery();
    // Moves the box's text to the front of its list; an entry equal to it but for letter case (in any
    // script) is removed first. An empty text changes nothing.
    static void PutTextFirst(QComboBox* box);
    static void SetHistory(QComboBox* box, const QStringList& history);
    static QStringList History(const QComboBox* box);
    static QComboBox* MakeTextBox(QWidget* parent, const char* name, int top);
    QComboBox* SearchTextBox() const { return cbSearchText; }

private:
    void BuildControls(int optionsTop);

    QLabel* Label1 = nullptr;
    QComboBox* cbSearchText = nullptr;
    QGroupBox* gbSearchOptions = nullptr;
    QCheckBox* cbSearchCaseSensitive = nullptr;
    QCheckBox* cbSearchWholeWords = nullptr;
    QCheckBox* cbSearchFromCursor = nullptr;
    QCheckBox* cbSearchSelectedOnly = nullptr;
    QCheckBox* cbRegularExpression = nullptr;
    QGroupBox* rgSearchDirection = nullptr;
    QRadioButton* mForward = nullptr;
    QRadioButton* mBackward = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace pw
