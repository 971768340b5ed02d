#pragma once
// A quest tab on a workspace whose program folder is a temporary folder, with the scripted dialogs
// service installed, and helpers to read what the tab shows.

#include "data/Configs.h"
#include "data/Cp1251.h"
#include "quest_editor/QuestTab.h"
#include "text_pane/TextPane.h"
#include "ui_common/Workspace.h"

#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pwtest {

struct QuestTabFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    pw::Workspace workspace{std::make_unique<pw::TConfigs>(dir.File("plotwright.inf")), dir.Path()};
    pw::QuestTab tab{workspace};

    template <typename T = QWidget> T* Find(const char* name) {
        T* widget = tab.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    // The text an edit or combo box shows.
    QString Text(const char* name) {
        if (auto* box = tab.findChild<QComboBox*>(QLatin1String(name)))
            return box->currentText();
        return Edit(name)->text();
    }
    pw::TextPane* Pane() { return Find<pw::TextPane>("SynQuestMem"); }
    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

    // Writes "[Quest]" and lines (UTF-8 here, Windows-1251 in the file) with CR LF line ends.
    std::string WriteQuest(const std::string& name, std::initializer_list<std::string> lines) {
        std::string text = "[Quest]\r\n";
        for (const std::string& line : lines)
            text += pw::Utf8ToCp1251(line) + "\r\n";
        WriteBytes(dir.File(name), text);
        return dir.File(name);
    }
    // Every message box shown, as "text / caption".
    QStringList Boxes() {
        QStringList boxes;
        for (const auto& call : dialogs.Messages())
            boxes << call.text + " / " + call.caption;
        return boxes;
    }
};

} // namespace pwtest
