// The string editor's shortcuts belong to the whole main window: they act on the string table from the
// dialogue tab too, before the string editor's tab has ever been shown.

#include "gui/app/MainForm.h"

#include "AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

class StringEditorShortcuts : public pwtest::AppFixture {
protected:
    // The next dialog run gets search (and replace) typed in and is closed with OK.
    void AnswerDialog(const QString& search, const QString& replace = {}) {
        dialogs.modalResults.push_back(QDialog::Accepted);
        dialogs.onModal = [this, search, replace](QDialog* dialog) {
            shown << (dialog->findChild<QComboBox*>("cbReplaceText") ? "replace" : "find");
            dialog->findChild<QComboBox*>("cbSearchText")->setEditText(search);
            if (auto* box = dialog->findChild<QComboBox*>("cbReplaceText"))
                box->setEditText(replace);
            dialog->findChild<QPushButton*>("btnOK")->click();
        };
    }
    QStringList shown; // which dialog each run showed
};

TEST_F(StringEditorShortcuts, ActOnTheStringTableFromTheDialogueTab) {
    pw::TForm1& window = OpenWindow("[LocAdmin_Strings]\r\nA=foo foo\r\n");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* field = window.findChild<QLineEdit*>("NameEd");
    field->setFocus();
    auto* pane = window.findChild<QPlainTextEdit*>("SynMemText");
    const auto selected = [pane] {
        const QTextCursor cursor = pane->textCursor();
        return QString::number(cursor.anchor()) + "-" + QString::number(cursor.position());
    };

    QTest::keyClick(field, Qt::Key_F3); // nothing to find again yet
    EXPECT_TRUE(dialogs.calls.empty());

    AnswerDialog("foo");
    QTest::keyClick(field, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shown, QStringList{"find"});
    EXPECT_EQ(selected(), "21-24");
    QTest::keyClick(field, Qt::Key_F3);
    EXPECT_EQ(selected(), "25-28");
    QTest::keyClick(field, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selected(), "24-21");

    AnswerDialog("foo", "bar");
    QTest::keyClick(field, Qt::Key_H, Qt::ControlModifier);
    pw::TForm1::WaitForWork(); // the replace searches in the background
    EXPECT_EQ(shown.last(), "replace");
    EXPECT_EQ(pane->toPlainText(), "[LocAdmin_Strings]\nA=bar bar\n");

    dialogs.answers = {pw::MsgAnswer::Yes};
    QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
    pw::TForm1::WaitForWork();
    EXPECT_EQ(dialogs.Messages().size(), 1u); // the reload's question, answered Yes
    EXPECT_EQ(pane->toPlainText(), "[LocAdmin_Strings]\nA=foo foo\n");
    EXPECT_EQ(window.findChild<QTabWidget*>("PgCtrl")->currentIndex(), 0);
}

} // namespace
