#pragma once
// A dialogue tab on a workspace in a temporary folder (the program's folder), with the scripted
// dialogs service installed, and helpers to read what the tab shows.

#include "app/Workspace.h"
#include "data/Configs.h"
#include "data/Cp1251.h"
#include "info_editor/InfoTab.h"
#include "widgets/ExtCtrls2.h"

#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pwtest {

struct InfoTabFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    pw::Workspace workspace{std::make_unique<pw::TConfigs>(dir.File("plotwright.inf")), dir.Path()};
    pw::InfoTab tab{workspace};

    template <typename T> T* Find(const char* name) {
        T* widget = tab.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QTableWidget* List(const char* name) { return Find<QTableWidget>(name); }
    QString Text(const char* name) {
        if (auto* box = tab.findChild<QComboBox*>(QLatin1String(name)))
            return box->currentText();
        return Edit(name)->text();
    }

    // The label shown above a field: a labelled combo box's own label, or the label whose buddy it is.
    QLabel* LabelOf(QWidget* field) {
        if (auto* box = qobject_cast<pw::TLabeledComboBox*>(field))
            return box->EditLabel();
        for (QLabel* label : tab.findChildren<QLabel*>())
            if (label->buddy() == field)
                return label;
        return nullptr;
    }

    // Writes a .info file with CR LF line ends; lines are UTF-8 here and Windows-1251 in the file.
    std::string WriteInfo(const std::string& name, std::initializer_list<std::string> lines) {
        std::string text = "[Info]\r\n";
        for (const std::string& line : lines)
            text += pw::Utf8ToCp1251(line) + "\r\n";
        const std::string path = dir.File(name);
        WriteBytes(path, text);
        return path;
    }

    // The rows of a list as "a|b|c" texts.
    std::vector<QString> Rows(const char* name) {
        QTableWidget* list = List(name);
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
