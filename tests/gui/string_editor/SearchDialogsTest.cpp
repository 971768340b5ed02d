// The find and replace dialogs as the string editor runs them: what they show when they open, and what
// OK and Cancel leave in the remembered settings and histories.

#include "StringEditorFixture.h"

#include "UserInput.h"

#include <QTest>

namespace pwtest {
namespace {

class SearchDialogs : public StringEditorFixture {
protected:
    void SetUp() override { Open("[LocAdmin_Strings]\r\nA=foo bar Foo\r\n"); }

    // What the next dialog shows when it opens; it is then cancelled.
    struct Shown {
        QString text, replaceText;
        QStringList history, replaceHistory;
        bool backwards = false, matchCase = false, wholeWords = false, fromCaret = false,
             selectionOnly = false, regex = true;
    };
    Shown Look(bool replace) {
        Shown shown;
        dialogs.onModal = [&shown](QDialog* dialog) {
            const auto* box = dialog->findChild<QComboBox*>("cbSearchText");
            shown.text = box->currentText();
            shown.history = Items(box);
            if (const auto* replaceBox = dialog->findChild<QComboBox*>("cbReplaceText")) {
                shown.replaceText = replaceBox->currentText();
                shown.replaceHistory = Items(replaceBox);
            }
            shown.backwards = Direction(dialog, true)->isChecked();
            shown.matchCase = dialog->findChild<QCheckBox*>("cbSearchCaseSensitive")->isChecked();
            shown.wholeWords = dialog->findChild<QCheckBox*>("cbSearchWholeWords")->isChecked();
            shown.fromCaret = dialog->findChild<QCheckBox*>("cbSearchFromCursor")->isChecked();
            shown.selectionOnly = dialog->findChild<QCheckBox*>("cbSearchSelectedOnly")->isChecked();
            shown.regex = dialog->findChild<QCheckBox*>("cbRegularExpression")->isChecked();
            dialog->findChild<QPushButton*>("btnCancel")->click();
        };
        dialogs.modalResults.push_back(QDialog::Rejected);
        Action(replace ? "actSearchReplace" : "actSearch")->trigger();
        return shown;
    }
};

TEST_F(SearchDialogs, OpenEmptyAtFirstAndWithTheRememberedSettingsAfterOk) {
    const Shown first = Look(false);
    EXPECT_EQ(first.text, "");
    EXPECT_TRUE(first.history.isEmpty());
    EXPECT_FALSE(first.backwards || first.matchCase || first.wholeWords || first.fromCaret ||
                 first.selectionOnly || first.regex);

    Find({.search = "b.r",
          .backwards = true,
          .matchCase = true,
          .wholeWords = true,
          .fromCaret = true,
          .selectionOnly = true,
          .regex = true});
    const Shown again = Look(false);
    EXPECT_EQ(again.text, "b.r");
    EXPECT_EQ(again.history, QStringList{"b.r"});
    EXPECT_TRUE(again.backwards && again.matchCase && again.wholeWords && again.fromCaret &&
                again.selectionOnly);
    EXPECT_FALSE(again.regex);                               // cleared on every opening...
    EXPECT_TRUE(workspace.searchSettings.regularExpression); // ...while the remembered choice stays

    const Shown replace = Look(true);
    EXPECT_EQ(replace.text, "b.r");
    EXPECT_TRUE(replace.backwards && replace.matchCase);
}

TEST_F(SearchDialogs, HistoryKeepsOneEntryPerTextWhateverItsCaseNewestFirstAndTenAtMost) {
    Find({.search = "foo"});
    Find({.search = "Foo"});
    Find({.search = "bar"});
    Find({.search = "меч"});
    Find({.search = "МЕЧ"});
    EXPECT_EQ(workspace.searchSettings.searchHistory, (QStringList{"МЕЧ", "bar", "Foo"}));
    EXPECT_EQ(Look(false).history, (QStringList{"МЕЧ", "bar", "Foo"}));

    for (int i = 1; i <= 11; ++i)
        Find({.search = QString::number(i)});
    const QStringList expected{"11", "10", "9", "8", "7", "6", "5", "4", "3", "2"};
    EXPECT_EQ(workspace.searchSettings.searchHistory, expected);
    EXPECT_EQ(Look(false).history, expected);
}

TEST_F(SearchDialogs, AnEmptyTextIsRememberedButNeverEntersTheHistory) {
    Find({.search = "foo"});
    Find({.search = ""});
    EXPECT_EQ(workspace.searchSettings.searchText, "");
    const Shown shown = Look(false);
    EXPECT_EQ(shown.text, ""); // not the first entry of the list
    EXPECT_EQ(shown.history, QStringList{"foo"});
}

TEST_F(SearchDialogs, CancelRemembersNothing) {
    Find({.search = "foo"});
    dialogs.onModal = [](QDialog* dialog) {
        dialog->findChild<QComboBox*>("cbSearchText")->setEditText("other");
        dialog->findChild<QCheckBox*>("cbSearchCaseSensitive")->setChecked(true);
        dialog->findChild<QPushButton*>("btnCancel")->click();
    };
    dialogs.modalResults.push_back(QDialog::Rejected);
    Action("actSearch")->trigger();
    EXPECT_EQ(workspace.searchSettings.searchText, "foo");
    EXPECT_FALSE(workspace.searchSettings.matchCase);
    EXPECT_EQ(workspace.searchSettings.searchHistory, QStringList{"foo"});
}

TEST_F(SearchDialogs, OnlyTheReplaceDialogChangesTheReplaceSettings) {
    Find({.search = "foo"});
    Replace({.search = "foo", .replace = "x"});
    Replace({.search = "bar", .replace = "X"});
    Replace({.search = "Bar", .replace = "y"});
    EXPECT_EQ(workspace.searchSettings.replaceText, "y");
    EXPECT_EQ(workspace.searchSettings.replaceHistory, (QStringList{"y", "X"}));
    EXPECT_EQ(workspace.searchSettings.searchHistory, (QStringList{"Bar", "foo"}));
    Find({.search = "zzz"});
    EXPECT_EQ(workspace.searchSettings.replaceText, "y");
    const Shown shown = Look(true);
    EXPECT_EQ(shown.replaceText, "y");
    EXPECT_EQ(shown.replaceHistory, (QStringList{"y", "X"}));
}

TEST_F(SearchDialogs, TheirTextBoxesTakeTheWheelOnlyWithTheFocus) {
    Find({.search = "foo"});
    Find({.search = "bar"});
    QString afterWheel;
    dialogs.onModal = [&afterWheel](QDialog* dialog) {
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        dialog->findChild<QPushButton*>("btnOK")->setFocus();
        auto* box = dialog->findChild<QComboBox*>("cbSearchText");
        TurnWheel(box, 2);
        afterWheel = box->currentText();
        dialog->findChild<QPushButton*>("btnCancel")->click();
    };
    dialogs.modalResults.push_back(QDialog::Rejected);
    Action("actSearch")->trigger();
    EXPECT_EQ(afterWheel, "bar");
}

// The settings are the process's: a second window's dialogs open with what the first one remembered.
TEST_F(SearchDialogs, AreSharedByEveryWindow) {
    Find({.search = "bar", .matchCase = true});
    QMainWindow second;
    second.setStatusBar(new QStatusBar);
    auto* otherTab = new pw::StringEditorTab(workspace, second.statusBar());
    second.setCentralWidget(otherTab);
    EXPECT_TRUE(otherTab->findChild<QAction*>("actSearchNext")->isEnabled());
    QString shownText;
    dialogs.onModal = [&shownText](QDialog* dialog) {
        shownText = dialog->findChild<QComboBox*>("cbSearchText")->currentText();
    };
    dialogs.modalResults.push_back(QDialog::Rejected);
    otherTab->ShowSearchDialog(false);
    EXPECT_EQ(shownText, "bar");
}

} // namespace
} // namespace pwtest
