#pragma once
// An editor tab (the dialogue or the quest tab) on a workspace whose program folder is a temporary
// folder, with the scripted dialogs service installed; helpers that write the record files it loads and
// read what it shows.

#include "core/data/Configs.h"
#include "gui/common/Workspace.h"
#include "gui/text_pane/TextPane.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "TestText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace pwtest {

template <typename Tab> struct EditorTabFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    pw::Workspace workspace{std::make_unique<pw::TConfigs>(dir.File("plotwright.inf")), dir.Path()};
    Tab tab{workspace};

    template <typename T = QWidget> T* Find(const char* name) {
        T* widget = tab.template findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    // The text an edit or combo box shows.
    QString Text(const char* name) {
        if (auto* box = tab.template findChild<QComboBox*>(QLatin1String(name)))
            return box->currentText();
        return Edit(name)->text();
    }
    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    // The tab's one text pane, which shows the record's file.
    pw::TextPane* Pane() { return tab.template findChild<pw::TextPane*>(); }
    QString PaneText() { return Pane()->toPlainText(); }

    // Writes a record file: the section line, then lines (UTF-8 here, Windows-1251 in the file), each
    // ended by CR LF. Gives its path.
    std::string WriteRecord(const std::string& name, const char* section,
                            std::initializer_list<std::string> lines) {
        std::string text = std::string(section) + "\r\n";
        for (const std::string& line : lines)
            text += Ansi(line) + "\r\n";
        WriteBytes(dir.File(name), text);
        return dir.File(name);
    }
    std::string WriteInfo(const std::string& name, std::initializer_list<std::string> lines) {
        return WriteRecord(name, "[Info]", lines);
    }
    std::string WriteQuest(const std::string& name, std::initializer_list<std::string> lines) {
        return WriteRecord(name, "[Quest]", lines);
    }

    // Every message box shown, as "text / caption".
    QStringList Boxes() {
        QStringList boxes;
        for (const auto& call : dialogs.Messages())
            boxes << call.text + " / " + call.caption;
        return boxes;
    }
    // The rows of a list, each as its cells joined by "|".
    std::vector<QString> Rows(const char* name) {
        auto* list = Find<QTableWidget>(name);
        std::vector<QString> rows;
        for (int row = 0; row < list->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < list->columnCount(); ++column)
                cells << (list->item(row, column) ? list->item(row, column)->text() : QString());
            rows.push_back(cells.join(u'|'));
        }
        return rows;
    }
};

} // namespace pwtest
