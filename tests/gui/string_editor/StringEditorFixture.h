#pragma once
// The string editor's tab in a main window of its own (status bar, window-wide actions), on a string
// table in a temporary folder, with the scripted dialogs service; and helpers that drive its find and
// replace dialogs through their real controls.

#include "gui/common/BackgroundWork.h"
#include "gui/common/Workspace.h"
#include "gui/string_editor/StringEditorTab.h"
#include "gui/text_pane/TextPane.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pwtest {

// What a test types and ticks in a find or replace dialog before it presses OK.
struct DialogInput {
    QString search = {};
    QString replace = {};
    bool backwards = false;
    bool matchCase = false;
    bool wholeWords = false;
    bool fromCaret = false;
    bool selectionOnly = false;
    bool regex = false;
};

class StringEditorFixture : public ::testing::Test {
protected:
    StringEditorFixture()
        : workspace(std::make_unique<pw::TConfigs>(dir.File("plotwright.inf")), dir.Path()) {
        workspace.configs->StringTablePath = TablePath();
    }

    std::string TablePath() const { return dir.File("stringtable.ini"); }

    // Opens the window on a table holding bytes.
    void Open(const std::string& bytes) {
        WriteBytes(TablePath(), bytes);
        OpenWindow();
    }
    // Opens the window on whatever is at the table's path; the pane's text is in place once shown.
    void OpenWindow(bool show = true) {
        window = std::make_unique<QMainWindow>();
        window->setStatusBar(new QStatusBar);
        tab = new pw::StringEditorTab(workspace, window->statusBar());
        window->setCentralWidget(tab);
        window->addActions(tab->WindowActions());
        try {
            tab->StartLoading(TablePath());
        } catch (const std::exception&) {
            // as the main window does: the failure is reported there and the pane stays empty
        }
        if (show) {
            window->show();
            WaitForWork();
        }
    }
    // The table's load and a replace run in the background; this waits for them.
    void WaitForWork() const {
        for (pw::BackgroundWork* work : tab->findChildren<pw::BackgroundWork*>())
            work->Wait();
    }

    pw::TextPane* Pane() const { return tab->findChild<pw::TextPane*>("SynMemText"); }
    QAction* Action(const char* name) const { return tab->findChild<QAction*>(name); }
    QString Status() const { return window->statusBar()->currentMessage(); }
    QString Text() const { return Pane()->PlainText(); }
    pw::TextSelection Selection() const { return Pane()->Selection(); }
    void PutCaret(qsizetype line, qsizetype column) {
        Pane()->SetSelection({{line, column}, {line, column}});
    }

    // The next dialog that is run gets input and is closed with OK.
    void AnswerDialog(const DialogInput& input) {
        dialogs.modalResults.push_back(QDialog::Accepted);
        dialogs.onModal = [input](QDialog* dialog) {
            dialog->findChild<QComboBox*>("cbSearchText")->setEditText(input.search);
            if (auto* replace = dialog->findChild<QComboBox*>("cbReplaceText"))
                replace->setEditText(input.replace);
            dialog->findChild<QCheckBox*>("cbSearchCaseSensitive")->setChecked(input.matchCase);
            dialog->findChild<QCheckBox*>("cbSearchWholeWords")->setChecked(input.wholeWords);
            dialog->findChild<QCheckBox*>("cbSearchFromCursor")->setChecked(input.fromCaret);
            dialog->findChild<QCheckBox*>("cbSearchSelectedOnly")->setChecked(input.selectionOnly);
            dialog->findChild<QCheckBox*>("cbRegularExpression")->setChecked(input.regex);
            Direction(dialog, input.backwards)->setChecked(true);
            dialog->findChild<QPushButton*>("btnOK")->click();
        };
    }
    void Find(const DialogInput& input) {
        AnswerDialog(input);
        Action("actSearch")->trigger();
    }
    void Replace(const DialogInput& input) {
        AnswerDialog(input);
        Action("actSearchReplace")->trigger();
        WaitForWork();
    }

    static QRadioButton* Direction(QDialog* dialog, bool backwards) {
        return dialog->findChild<QGroupBox*>("rgSearchDirection")
            ->findChildren<QRadioButton*>()
            .at(backwards ? 1 : 0);
    }
    static QStringList Items(const QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    int Beeps() const {
        int beeps = 0;
        for (const auto& call : dialogs.calls)
            beeps += call.kind == ScriptedDialogs::Kind::Beep ? 1 : 0;
        return beeps;
    }

    TempDir dir;
    ScriptedDialogs dialogs;
    pw::Workspace workspace;
    std::unique_ptr<QMainWindow> window;
    pw::StringEditorTab* tab = nullptr;
};

} // namespace pwtest
