// The settings dialog: what it shows, its choosers, and saving.

#include "gui/app/ConfigsForm.h"

#include "gui/app/QtTranslations.h"

#include "AppFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <filesystem>
#include <functional>

namespace {

using Kind = pwtest::ScriptedDialogs::Kind;

// Runs open, then looks at the real chooser it opened and cancels it.
void LookAtChooser(const std::function<void()>& open, const std::function<void(QFileDialog&)>& look) {
    pw::SetDialogs(nullptr);
    QTimer::singleShot(0, [&look] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        look(*chooser);
        chooser->reject();
    });
    open();
}

class ConfigsFormTest : public pwtest::AppFixture {
protected:
    template <typename T> T* Find(const pw::TConfigsFrm& form, const char* name) {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QString Text(const pw::TConfigsFrm& form, const char* edit) {
        return Find<QLineEdit>(form, edit)->text();
    }
    void Click(const pw::TConfigsFrm& form, const char* button) { Find<QPushButton>(form, button)->click(); }
};

TEST_F(ConfigsFormTest, ShowsTheStoredSettingsWhichOnlyTheChoosersChange) {
    WriteSettings(TablePath(), false);
    pw::TConfigs configs(SettingsFile());
    pw::TConfigsFrm form(configs);

    EXPECT_TRUE(dialogs.calls.empty()); // complete settings: no modal display at creation
    EXPECT_EQ(Text(form, "InfosPathEd").toStdString(), InfosPath());
    EXPECT_EQ(Text(form, "QuestsPathEd").toStdString(), QuestsPath());
    EXPECT_EQ(Text(form, "StringsPathEd").toStdString(), TablePath());
    for (const char* edit : {"InfosPathEd", "QuestsPathEd", "StringsPathEd"})
        EXPECT_TRUE(Find<QLineEdit>(form, edit)->isReadOnly()) << edit;
    EXPECT_FALSE(Find<QCheckBox>(form, "MakeTempFilesChk")->isChecked());
    EXPECT_TRUE(Find<QPushButton>(form, "SaveBtn")->isEnabled());
}

TEST_F(ConfigsFormTest, ChoosersChangeAnEditOnlyWhenConfirmed) {
    WriteSettings(TablePath());
    pw::TConfigs configs(SettingsFile());
    pw::TConfigsFrm form(configs);

    const std::tuple<const char*, const char*, Kind> rows[] = {
        {"DlgInfosBtn", "InfosPathEd", Kind::ChooseFolder},
        {"DlgQuestsBtn", "QuestsPathEd", Kind::ChooseFolder},
        {"DlgStrTableBtn", "StringsPathEd", Kind::ChooseOpenFile}};
    for (const auto& [button, edit, kind] : rows) {
        const QString before = Text(form, edit);
        Click(form, button); // no answer queued: the user cancels
        EXPECT_EQ(Text(form, edit), before);
        EXPECT_EQ(dialogs.calls.back().kind, kind) << button;
        EXPECT_EQ(dialogs.calls.back().initialName, before); // it starts at the path it edits
        dialogs.choices.push_back(QStringLiteral("/chosen/path"));
        Click(form, button);
        EXPECT_EQ(Text(form, edit), "/chosen/path");
    }
    Find<QLineEdit>(form, "StringsPathEd")->clear(); // no path yet: the file's name is offered
    Click(form, "DlgStrTableBtn");
    EXPECT_EQ(dialogs.calls.back().initialName, "stringtable.ini");
}

TEST_F(ConfigsFormTest, StringTableChooserOpensAtTheTableAndOffersOneEntryNamedAfterTheFile) {
    pwtest::WriteBytes(dir.File("Tables/stringtable.ini"), "");
    WriteSettings(dir.File("Tables/stringtable.ini"));
    pw::TConfigs configs(SettingsFile());
    pw::TConfigsFrm form(configs);
    QStringList entries;
    QString name, folder;
    LookAtChooser([&] { Click(form, "DlgStrTableBtn"); },
                  [&](QFileDialog& chooser) {
                      auto* types = chooser.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                      ASSERT_NE(types, nullptr);
                      for (int i = 0; i < types->count(); ++i)
                          entries << types->itemText(i);
                      name = chooser.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
                      folder = chooser.directory().absolutePath();
                  });
    EXPECT_EQ(entries.join('|'), "stringtable.ini"); // one entry, shown without its pattern
    EXPECT_EQ(name, "stringtable.ini");
    EXPECT_EQ(folder.toStdString(), dir.File("Tables"));
    EXPECT_EQ(Text(form, "StringsPathEd").toStdString(), dir.File("Tables/stringtable.ini"));
}

TEST_F(ConfigsFormTest, FolderChoosersOpenAtTheirFoldersAndSpeakRussian) {
    QTranslator* russian = pw::InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(russian, nullptr);
    std::filesystem::create_directories(InfosPath());
    WriteSettings(TablePath()); // the Quests folder does not exist
    pw::TConfigs configs(SettingsFile());
    pw::TConfigsFrm form(configs);
    for (const auto& [button, expected] :
         {std::pair{"DlgInfosBtn", InfosPath()}, {"DlgQuestsBtn", dir.Path()}}) { // nearest above
        QString folder, lookIn;
        LookAtChooser([&] { Click(form, button); },
                      [&](QFileDialog& chooser) {
                          folder = chooser.directory().absolutePath();
                          lookIn = chooser.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
                      });
        EXPECT_EQ(folder.toStdString(), expected) << button;
        EXPECT_EQ(lookIn, "Перейти к:");
    }
    QMessageBox question(QMessageBox::Question, "Вопрос", "?", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.button(QMessageBox::Yes)->text(), "&Да");
    EXPECT_EQ(question.button(QMessageBox::No)->text(), "&Нет");
    QCoreApplication::removeTranslator(russian);
    delete russian;
}

TEST_F(ConfigsFormTest, SaveWritesTheSettingsBeepsAndDisablesItself) {
    pw::TConfigs configs(SettingsFile()); // no file yet: the first start
    dialogs.onModal = [this](QDialog* shown) {
        auto& form = static_cast<pw::TConfigsFrm&>(*shown);
        EXPECT_EQ(Text(form, "InfosPathEd"), "");
        EXPECT_EQ(Text(form, "QuestsPathEd"), "");
        EXPECT_EQ(Text(form, "StringsPathEd"), "");
        EXPECT_FALSE(Find<QCheckBox>(form, "MakeTempFilesChk")->isChecked());
        dialogs.choices = {QStringLiteral("/lib/Infos"), QStringLiteral("/lib/Quests"),
                           QStringLiteral("/lib/stringtable.ini")};
        Click(form, "DlgInfosBtn");
        Click(form, "DlgQuestsBtn");
        Click(form, "DlgStrTableBtn");
        Click(form, "SaveBtn");
        EXPECT_FALSE(Find<QPushButton>(form, "SaveBtn")->isEnabled());
    };
    pw::TConfigsFrm form(configs);

    ASSERT_EQ(dialogs.calls.front().kind, Kind::RunModal);
    EXPECT_EQ(dialogs.calls.back().kind, Kind::Beep);
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_EQ(pwtest::ReadBytes(SettingsFile()), "[configs]\r\nQuests=/lib/Quests\r\nInfos=/lib/Infos\r\n"
                                                 "stringtable=/lib/stringtable.ini\r\nTmpFiles=0\r\n");
    EXPECT_FALSE(configs.TmpFiles);
    // After the first display the fields show what was saved.
    EXPECT_EQ(Text(form, "InfosPathEd"), "/lib/Infos");
}

TEST_F(ConfigsFormTest, FailedSaveReportsTheErrorAndKeepsSaveEnabled) {
    const std::string unwritable = dir.File("missing/plotwright.inf");
    pw::TConfigs configs(unwritable);
    dialogs.modalResults = {0};
    pw::TConfigsFrm form(configs);
    Find<QCheckBox>(form, "MakeTempFilesChk")->setChecked(true);
    Click(form, "SaveBtn");

    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto box = dialogs.Messages().front();
    EXPECT_EQ(box.text.toStdString(),
              "Unable to write to " + unwritable + ". " + pwtest::SystemReason(pwtest::Reason::Missing));
    EXPECT_EQ(box.caption, "plotwright");
    EXPECT_EQ(box.icon, pw::MsgIcon::Error);
    EXPECT_EQ(dialogs.calls.back().kind, Kind::Message); // no beep after a failure
    EXPECT_TRUE(Find<QPushButton>(form, "SaveBtn")->isEnabled());
    EXPECT_FALSE(pwtest::Exists(unwritable));
}

// "Язык реплик" offers the languages of the table the dialog names; the choice alone is saved too.
TEST_F(ConfigsFormTest, TheLanguageOfTheLinesIsOneOfTheTablesAndIsSaved) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "[LocAdmin_Languages]\r\nLanguages=English;German;Russian\r\n"
                                    "[LocAdmin_Strings]\r\nA=Hi;;Hallo;;Privet;\r\n");
    pw::TConfigs configs(SettingsFile());
    pw::TConfigsFrm form(configs);
    auto* box = Find<QComboBox>(form, "TextLanguageCmb");
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    EXPECT_EQ(entries, (QStringList{"Вся строка", "Английский (en)", "Немецкий (de)", "Русский (ru)"}));
    EXPECT_EQ(box->currentText(), "Вся строка");
    Click(form, "SaveBtn");
    EXPECT_FALSE(Find<QPushButton>(form, "SaveBtn")->isEnabled());
    EXPECT_EQ(pwtest::ReadBytes(SettingsFile()).find("TextLanguage"), std::string::npos);

    box->setCurrentIndex(3);
    EXPECT_TRUE(Find<QPushButton>(form, "SaveBtn")->isEnabled());
    Click(form, "SaveBtn");
    EXPECT_EQ(configs.TextLanguage, "ru");
    EXPECT_EQ(pw::TConfigs(SettingsFile()).TextLanguage, "ru");

    // A table of one language offers none, and a language chosen before stays shown.
    pwtest::WriteBytes(dir.File("single.ini"), "[LocAdmin_Strings]\r\nA=Hi;\r\n");
    dialogs.choices = {QString::fromStdString(dir.File("single.ini"))};
    Click(form, "DlgStrTableBtn");
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentText(), "ru");
}

} // namespace
