#pragma once
// "Вид → Переводы": the string table as a grid of ID, a source language's text and a target language's
// text, narrowed by a filter line and by the target cell's state, with the share each language has
// translated. A target cell edited and left is written at once, that cell alone, unless its entry
// changed on disk since the window read it.

#include "gui/common/BackgroundWork.h"

#include <QWidget>

#include <cstddef>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class QVBoxLayout;

namespace pw {

struct Workspace;
class TranslationGrid;
class TranslationsModel;

class TranslationsWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own above parent; empty until Reload.
    TranslationsWindow(Workspace& workspace, QWidget* parent);
    ~TranslationsWindow() override;

    // Reads the workspace's string table again in the background and shows it, the filter kept; until
    // then the window says so and offers nothing to edit. Without a table, or with a table of one
    // language, says so in the window and offers nothing to edit. A table that cannot be read is told of
    // through the error guard ("Cannot open file ...").
    void Reload();

signals:
    // A cell was written into the table.
    void TableWritten();

private:
    void BuildControls();
    void Loaded(const std::string& path, std::unique_ptr<TranslationGrid> grid, const WorkEnd& end);
    void FillLanguages();
    void LanguagesChanged();
    void ApplyFilter();
    void ShowCounts();
    void ShowUnavailable(const QString& why);
    // The model's edit of row's target cell: written into the table, or told why not. True when written.
    bool WriteCell(std::size_t row, const QString& text);

    Workspace& mWorkspace;
    BackgroundWork* mLoad;
    std::unique_ptr<TranslationGrid> mGrid;
    TranslationsModel* mModel = nullptr;
    QComboBox* SourceLangCmb = nullptr;
    QComboBox* TargetLangCmb = nullptr;
    QLineEdit* FilterEd = nullptr;
    QComboBox* StateCmb = nullptr;
    QTableView* TranslationsList = nullptr;
    QLabel* CountLbl = nullptr;
    QVBoxLayout* mBars = nullptr; // a row of a name and a bar per language
};

} // namespace pw
