#pragma once
// The settings dialog: the three paths, the scratch-folder switch and the language of the string table
// the editors show ("Язык реплик"). Created once at start-up and
// shown modally from the main window's "Настройки" menu; the same object serves every time.

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
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
    // "Вся строка" and the languages of the table at path, code chosen (kept as an entry of its own when
    // the table lacks it). A table of one language offers none.
    void FillLanguages(const QString& path, const QString& code);
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
    QComboBox* TextLanguageCmb = nullptr;
    QPushButton* SaveBtn = nullptr;
};

} // namespace pw
