// "Вид → Переводы" through the real window: the table as a grid with its counts, the filter, and a
// target cell edited and written at once unless its entry changed on disk meanwhile.

#include "gui/app/TranslationsWindow.h"

#include "AppFixture.h"
#include "TestText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace pwtest {
namespace {

// A value of the game's layout: English, German and Russian (UTF-8), every other field empty.
std::string Value(const std::string& english, const std::string& german, const std::string& russian) {
    return english + ";;;;;;" + german + ";;;;;;;;;;" + russian + ";;;";
}

std::string Table(const std::string& gorn02) {
    return "[LocAdmin_Strings]\r\n"
           "Diego_01=" +
           Value("Hello", "Hallo", "Привет") + "\r\n" + "Diego_02=" + Value("Gold", "Gold", "[RUS]") +
           "\r\n" + "Gorn_01=" + Value("Axe", "Axt", "") + "\r\n" + "Gorn_02=" + gorn02 + "\r\n";
}

class TranslationsWindowTest : public AppFixture {
protected:
    // The main window on the table with "Язык реплик" Russian, and its translations window opened.
    pw::TranslationsWindow& Open(const std::string& tableBytes) {
        WriteSettings(TablePath());
        WriteBytes(SettingsFile(), ReadBytes(SettingsFile()) + "TextLanguage=ru\r\n");
        WriteBytes(TablePath(), tableBytes);
        pw::TForm1& main = StartWindow();
        main.findChild<QAction*>("TranslationsAction")->trigger();
        pw::TForm1::WaitForWork(); // the table is read in the background
        window = main.findChild<pw::TranslationsWindow*>("TranslationsFrm");
        EXPECT_NE(window, nullptr);
        list = window->findChild<QTableView*>("TranslationsList");
        return *window;
    }
    template <typename T> T* Find(const char* name) {
        T* control = window->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QString Cell(int row, int column) { return list->model()->index(row, column).data().toString(); }
    QStringList Ids() {
        QStringList ids;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            ids << Cell(row, 0);
        return ids;
    }
    // Types text into the target cell of row and leaves it with Enter, as a user edits it.
    void EditTarget(int row, const QString& text) {
        const QModelIndex index = list->model()->index(row, 2);
        list->setCurrentIndex(index);
        list->edit(index);
        QLineEdit* editor = nullptr;
        for (QLineEdit* child : list->viewport()->findChildren<QLineEdit*>())
            if (child->isVisible())
                editor = child;
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(text); // typed: QTest types Latin letters only
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the view commits the editor's text after the key
    }

    pw::TranslationsWindow* window = nullptr;
    QTableView* list = nullptr;
};

TEST_F(TranslationsWindowTest, ShowsTheTableWithEachLanguagesShare) {
    Open(Ansi(Table(Value("Sword", "Schwert", "Sword"))));
    EXPECT_EQ(Find<QComboBox>("SourceLangCmb")->currentText(), "Английский (en)");
    EXPECT_EQ(Find<QComboBox>("TargetLangCmb")->currentText(), "Русский (ru)");
    EXPECT_EQ(Find<QLabel>("CountLbl")->text(), "Переведено: 1 из 4 (25 %)");
    EXPECT_EQ(Find<QProgressBar>("Bar_ru")->value(), 25);
    EXPECT_EQ(Find<QProgressBar>("Bar_de")->value(), 75);
    EXPECT_EQ(Find<QProgressBar>("Bar_en")->text(), "Английский: 100 %");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "Русский");
    EXPECT_EQ(Ids(), (QStringList{"Diego_01", "Diego_02", "Gorn_01", "Gorn_02"}));
    EXPECT_EQ(Cell(0, 1), "Hello");
    EXPECT_EQ(Cell(0, 2), "Привет");

    QTest::keyClicks(Find<QLineEdit>("FilterEd"), "GORN");
    EXPECT_EQ(Ids(), (QStringList{"Gorn_01", "Gorn_02"}));
    Find<QLineEdit>("FilterEd")->clear();
    Find<QLineEdit>("FilterEd")->insert("Прив");
    EXPECT_EQ(Ids(), QStringList{"Diego_01"});
    Find<QLineEdit>("FilterEd")->clear();
    auto* state = Find<QComboBox>("StateCmb");
    const QStringList wanted[] = {{"Gorn_01"}, {"Diego_02"}, {"Gorn_02"}};
    for (int choice = 1; choice <= 3; ++choice) {
        state->setCurrentIndex(choice);
        EXPECT_EQ(Ids(), wanted[choice - 1]) << state->currentText().toStdString();
    }
    // German shown as the target.
    state->setCurrentIndex(0);
    Find<QComboBox>("TargetLangCmb")->setCurrentIndex(3);
    EXPECT_EQ(Cell(2, 2), "Axt");
    EXPECT_EQ(Find<QLabel>("CountLbl")->text(), "Переведено: 3 из 4 (75 %)");
}

TEST_F(TranslationsWindowTest, AnEditedCellIsWrittenAtOnceAndAloneUnlessItsEntryChangedOnDisk) {
    Open(Ansi(Table(Value("Sword", "Schwert", ""))));
    EditTarget(2, "Топор");
    std::string expected = Table(Value("Sword", "Schwert", ""));
    const std::string gorn01 = "Gorn_01=" + Value("Axe", "Axt", "");
    expected.replace(expected.find(gorn01), gorn01.size(), "Gorn_01=" + Value("Axe", "Axt", "Топор"));
    EXPECT_EQ(ReadBytes(TablePath()), Ansi(expected));
    EXPECT_EQ(Cell(2, 2), "Топор");
    EXPECT_EQ(Find<QLabel>("CountLbl")->text(), "Переведено: 2 из 4 (50 %)");
    EXPECT_EQ(form->findChild<QTabWidget*>("PgCtrl")->tabToolTip(2),
              "В таблицу строк были внесены изменения");
    EXPECT_TRUE(dialogs.Messages().empty());

    // Another program changes Gorn_02 meanwhile: the window's edit of it is not written.
    const std::string outside = Ansi(Table(Value("Long sword", "Schwert", "")));
    const std::string start = ReadBytes(TablePath()).substr(0, ReadBytes(TablePath()).find("Gorn_02="));
    WriteBytes(TablePath(), start + outside.substr(outside.find("Gorn_02=")));
    const std::string before = ReadBytes(TablePath());
    EditTarget(3, "Меч");
    EXPECT_EQ(ReadBytes(TablePath()), before);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text,
              "Запись Gorn_02 изменилась в файле после того, как окно её прочитало: "
              "перевод не записан. Теперь в окне её текст из файла.");
    EXPECT_EQ(dialogs.Messages()[0].caption, "Переводы");
    EXPECT_EQ(Cell(3, 1), "Long sword");
    EXPECT_EQ(Cell(3, 2), "");
    // Now that the window knows the entry as it is, the edit goes through.
    EditTarget(3, "Меч");
    EXPECT_NE(ReadBytes(TablePath()).find(Ansi("Gorn_02=" + Value("Long sword", "Schwert", "Меч"))),
              std::string::npos);
}

TEST_F(TranslationsWindowTest, ATableOfOneLanguageOffersNothingToEdit) {
    Open("[LocAdmin_Strings]\r\nA=Hello;\r\n");
    EXPECT_NE(Find<QLabel>("CountLbl")->text().indexOf("одноязычная"), -1);
    EXPECT_FALSE(Find<QLineEdit>("FilterEd")->isEnabled());
    EXPECT_EQ(list->model()->rowCount(), 0);
}

} // namespace
} // namespace pwtest
