#include "gui/app/ConfigsForm.h"

#include "core/data/Configs.h"
#include "core/strings/LanguageTable.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/UserDialogs.h"
#include "gui/widgets/ComboBoxRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace pw {

TConfigsFrm::TConfigsFrm(TConfigs& configs, QWidget* parent, SavedHandler saved)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      mConfigs(configs), mSaved(std::move(saved)) {
    setObjectName(QStringLiteral("ConfigsFrm"));
    setWindowTitle(QStringLiteral("Настройки"));
    BuildControls();
    setFixedSize(464, 275);
    FormCreate();
}

QLineEdit* TConfigsFrm::AddPathRow(QGridLayout* grid, int row, const QString& label, const QString& editName,
                                   const QString& buttonName, void (TConfigsFrm::*onClick)()) {
    auto* edit = new QLineEdit;
    edit->setObjectName(editName);
    edit->setReadOnly(true);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    auto* button = new QPushButton(QStringLiteral("..."));
    button->setObjectName(buttonName);
    button->setFixedWidth(25);
    connect(button, &QPushButton::clicked, this, onClick);
    grid->addWidget(caption, 2 * row, 0);
    grid->addWidget(edit, 2 * row + 1, 0);
    grid->addWidget(button, 2 * row + 1, 1);
    return edit;
}

void TConfigsFrm::BuildControls() {
    auto* group = new QGroupBox(QStringLiteral("Пути к папкам"));
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    InfosPathEd = AddPathRow(grid, 0, QStringLiteral("Infos"), QStringLiteral("InfosPathEd"),
                             QStringLiteral("DlgInfosBtn"), &TConfigsFrm::DlgInfosBtnClick);
    QuestsPathEd = AddPathRow(grid, 1, QStringLiteral("Quests"), QStringLiteral("QuestsPathEd"),
                              QStringLiteral("DlgQuestsBtn"), &TConfigsFrm::DlgQuestsBtnClick);
    StringsPathEd = AddPathRow(grid, 2, QStringLiteral("Stringtable.ini"), QStringLiteral("StringsPathEd"),
                               QStringLiteral("DlgStrTableBtn"), &TConfigsFrm::DlgStrTableBtnClick);

    MakeTempFilesChk = new QCheckBox(QStringLiteral("Сохранять файлы во временные папки"));
    MakeTempFilesChk->setObjectName(QStringLiteral("MakeTempFilesChk"));
    SaveBtn = new QPushButton(QStringLiteral("Сохранить"));
    SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    SaveBtn->setAutoDefault(false);
    connect(SaveBtn, &QPushButton::clicked, this, &TConfigsFrm::SaveBtnClick);
    TextLanguageCmb = new QComboBox;
    TextLanguageCmb->setObjectName(QStringLiteral("TextLanguageCmb"));
    ApplyComboBoxRules(TextLanguageCmb);
    // A change of the language alone is saved too, also after the paths were.
    connect(TextLanguageCmb, &QComboBox::currentIndexChanged, SaveBtn, [this] { SaveBtn->setEnabled(true); });
    auto* languageCaption = new QLabel(QStringLiteral("Язык реплик"));
    languageCaption->setBuddy(TextLanguageCmb);
    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(languageCaption);
    languageRow->addWidget(TextLanguageCmb, 1);
    auto* advice = new QLabel(QStringLiteral("Совет. Перед любыми манипуляциями создайте резервные копии."));
    advice->setObjectName(QStringLiteral("Label1"));

    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(MakeTempFilesChk);
    saveRow->addStretch();
    saveRow->addWidget(SaveBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(languageRow);
    layout->addLayout(saveRow);
    layout->addStretch();
    layout->addWidget(advice);
}

void TConfigsFrm::FormCreate() {
    // With incomplete settings the user is asked for them before anything is filled in.
    if (mConfigs.PathsMissing)
        Dialogs().RunModal(this);
    InfosPathEd->setText(FromNativePath(mConfigs.InfosPath));
    QuestsPathEd->setText(FromNativePath(mConfigs.QuestsPath));
    StringsPathEd->setText(FromNativePath(mConfigs.StringTablePath));
    MakeTempFilesChk->setChecked(mConfigs.TmpFiles);
    FillLanguages(StringsPathEd->text(), QString::fromStdString(mConfigs.TextLanguage));
    SaveBtn->setEnabled(true);
}

void TConfigsFrm::FillLanguages(const QString& path, const QString& code) {
    const QSignalBlocker blocker(TextLanguageCmb);
    TextLanguageCmb->clear();
    TextLanguageCmb->addItem(QStringLiteral("Вся строка"), QString());
    const TableLayout layout = ReadTableLayout(ToNativePath(path));
    TextLanguageCmb->setToolTip(
        layout.SingleLanguage() ? QStringLiteral("Таблица строк одноязычная: в её значениях одно-два поля")
                                : QString());
    if (!layout.SingleLanguage())
        for (const TableLanguage& language : layout.languages.All())
            TextLanguageCmb->addItem(QString::fromStdString(language.name + " (" + language.code + ")"),
                                     QString::fromStdString(language.code));
    if (!code.isEmpty() && TextLanguageCmb->findData(code) < 0)
        TextLanguageCmb->addItem(code, code);
    TextLanguageCmb->setCurrentIndex(std::max(0, TextLanguageCmb->findData(code)));
}

// Each chooser opens at the path its field holds.
void TConfigsFrm::DlgInfosBtnClick() {
    const QString title = QStringLiteral("Выберите путь к папке Infos");
    if (const auto folder = Dialogs().ChooseFolder(this, title, InfosPathEd->text()))
        InfosPathEd->setText(*folder);
}

void TConfigsFrm::DlgQuestsBtnClick() {
    const QString title = QStringLiteral("Выберите путь к папке Quests");
    if (const auto folder = Dialogs().ChooseFolder(this, title, QuestsPathEd->text()))
        QuestsPathEd->setText(*folder);
}

void TConfigsFrm::DlgStrTableBtnClick() {
    const QString current = StringsPathEd->text();
    const auto file = Dialogs().ChooseOpenFile(
        this, QString(), current.isEmpty() ? QStringLiteral("stringtable.ini") : current,
        QStringLiteral("stringtable.ini (*.ini)"));
    if (file) {
        StringsPathEd->setText(*file);
        FillLanguages(*file, TextLanguageCmb->currentData().toString());
    }
}

void TConfigsFrm::SaveBtnClick() {
    RunGuarded(this, [this] {
        mConfigs.InfosPath = ToNativePath(InfosPathEd->text());
        mConfigs.QuestsPath = ToNativePath(QuestsPathEd->text());
        mConfigs.StringTablePath = ToNativePath(StringsPathEd->text());
        mConfigs.TmpFiles = MakeTempFilesChk->isChecked();
        mConfigs.TextLanguage = TextLanguageCmb->currentData().toString().toStdString();
        mConfigs.Save();
        Dialogs().Beep();
        // Only a restart enables it again: the new paths take effect then (on a start that had none, the
        // main window may open the library at once instead).
        SaveBtn->setEnabled(false);
        if (mSaved)
            mSaved(this);
    });
}

} // namespace pw
