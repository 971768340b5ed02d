#pragma once
// The settings dialog: the three paths and the scratch-folder switch. Created once at start-up and
// shown modally from the main window's "Настройки" menu; the same object serves every time.

#include <QDialog>

#include <functional>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace pw {

class TConfigs;

class TConfigsFrm : public QDialog {
    Q_OBJECT
public:
    // Called after each successful save with the dialog, which is still shown.
    using SavedHandler = std::function<void(QWidget* dialog)>;

    // Runs FormCreate: with incomplete settings the dialog first shows itself modally, still empty.
    // saved, when given, already hears of a save made during that first display.
    explicit TConfigsFrm(TConfigs& configs, QWidget* parent = nullptr, SavedHandler saved = {});

private:
    void BuildControls();
    QLineEdit* AddPathRow(QGridLayout* grid, int row, const QString& label, const QString& editName,
                          const QString& buttonName, void (TConfigsFrm::*onClick)());
    void FormCreate();
    void DlgInfosBtnClick();
    void DlgQuestsBtnClick();
    void DlgStrTableBtnClick();
    void SaveBtnClick();

    TConfigs& mConfigs;
    SavedHandler mSaved;
    QLineEdit* InfosPathEd = nullptr;
    QLineEdit* QuestsPathEd = nullptr;
    QLineEdit* StringsPathEd = nullptr;
    QCheckBox* MakeTempFilesChk = nullptr;
    QPushButton* SaveBtn = nullptr;
};

} // namespace pw
