#pragma once
// A dialogue tab on a workspace whose program folder is a temporary folder, with the scripted dialogs
// service installed, and helpers to read what the tab shows.

#include "data/Configs.h"
#include "data/Cp1251.h"
#include "info_editor/InfoTab.h"
#include "text_pane/TextPane.h"
#include "ui_common/Workspace.h"

#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace pwtest {

struct InfoTabFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    pw::Workspace workspace{std::make_unique<pw::TConfigs>(dir.File("plotwright.inf")), dir.Path()};
    pw::InfoTab tab{workspace};

    template <typename T = QWidget> T* Find(const char* name) {
        T* widget = tab.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    // The text an edit or combo box shows.
    QString Text(const char* name) {
        if (auto* box = tab.findChild<QComboBox*>(QLatin1String(name)))
            return box->currentText();
        return Find<QLineEdit>(name)->text();
    }
    QString PaneText() { return Find<pw::TextPane>("SynInfoMem")->toPlainText(); }

    // Writes "[Info]" and lines (UTF-8 here, Windows-1251 in the file) with CR LF line ends.
    std::string WriteInfo(const std::string& name, std::initializer_list<std::string> lines) {
        std::string text = "[Info]\r\n";
        for (const std::string& line : lines)
            text += pw::Utf8ToCp1251(line) + "\r\n";
        WriteBytes(dir.File(name), text);
        return dir.File(name);
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
