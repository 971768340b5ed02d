#include "app/ConfigsForm.h"

#include "app/Cp1251Text.h"
#include "app/ErrorGuard.h"
#include "app/UserDialogs.h"
#include "data/Configs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pw {

TConfigsFrm::TConfigsFrm(TConfigs& configs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      mConfigs(configs) {
    setObjectName(QStringLiteral("ConfigsFrm"));
    setWindowTitle(QStringLiteral("Настройки"));
    BuildControls();
    setFixedSize(464, 245);
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
    mInfosPathEd = AddPathRow(grid, 0, QStringLiteral("Infos"), QStringLiteral("InfosPathEd"),
                              QStringLiteral("DlgInfosBtn"), &TConfigsFrm::DlgInfosBtnClick);
    mQuestsPathEd = AddPathRow(grid, 1, QStringLiteral("Quests"), QStringLiteral("QuestsPathEd"),
                               QStringLiteral("DlgQuestsBtn"), &TConfigsFrm::DlgQuestsBtnClick);
    mStringsPathEd = AddPathRow(grid, 2, QStringLiteral("Stringtable.ini"), QStringLiteral("StringsPathEd"),
                                QStringLiteral("DlgStrTableBtn"), &TConfigsFrm::DlgStrTableBtnClick);

    mMakeTempFilesChk = new QCheckBox(QStringLiteral("Сохранять файлы во временные папки"));
    mMakeTempFilesChk->setObjectName(QStringLiteral("MakeTempFilesChk"));
    mSaveBtn = new QPushButton(QStringLiteral("Сохранить"));
    mSaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    mSaveBtn->setAutoDefault(false);
    connect(mSaveBtn, &QPushButton::clicked, this, &TConfigsFrm::SaveBtnClick);
    auto* advice = new QLabel(QStringLiteral("Совет. Перед любыми манипуляциями создайте резервные копии."));
    advice->setObjectName(QStringLiteral("Label1"));

    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(mMakeTempFilesChk);
    saveRow->addStretch();
    saveRow->addWidget(mSaveBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(saveRow);
    layout->addStretch();
    layout->addWidget(advice);
}

void TConfigsFrm::FormCreate() {
    // With incomplete settings the user is asked for them before anything is filled in.
    if (mConfigs.PathsMissing)
        Dialogs().RunModal(this);
    mInfosPathEd->setText(FromNativePath(mConfigs.InfosPath));
    mQuestsPathEd->setText(FromNativePath(mConfigs.QuestsPath));
    mStringsPathEd->setText(FromNativePath(mConfigs.StringTablePath));
    mMakeTempFilesChk->setChecked(mConfigs.TmpFiles);
    mSaveBtn->setEnabled(true);
}

void TConfigsFrm::DlgInfosBtnClick() {
    if (const auto folder = Dialogs().ChooseFolder(this, QStringLiteral("Выберите путь к папке Infos")))
        mInfosPathEd->setText(*folder);
}

void TConfigsFrm::DlgQuestsBtnClick() {
    if (const auto folder = Dialogs().ChooseFolder(this, QStringLiteral("Выберите путь к папке Quests")))
        mQuestsPathEd->setText(*folder);
}

void TConfigsFrm::DlgStrTableBtnClick() {
    const auto file = Dialogs().ChooseOpenFile(this, QString(), QStringLiteral("stringtable.ini"),
                                               QStringLiteral("stringtable.ini (*.ini)"));
    if (file)
        mStringsPathEd->setText(*file);
}

void TConfigsFrm::SaveBtnClick() {
    RunGuarded(this, [this] {
        mConfigs.InfosPath = ToNativePath(mInfosPathEd->text());
        mConfigs.QuestsPath = ToNativePath(mQuestsPathEd->text());
        mConfigs.StringTablePath = ToNativePath(mStringsPathEd->text());
        mConfigs.TmpFiles = mMakeTempFilesChk->isChecked();
        mConfigs.Save();
        Dialogs().Beep();
        // Only a restart enables it again: the new paths take effect then.
        mSaveBtn->setEnabled(false);
    });
}

} // namespace pw
