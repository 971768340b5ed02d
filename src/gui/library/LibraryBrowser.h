#pragma once
// The library browser ("Библиотека"): a window of its own beside the main one, with a filter line and
// the library as a tree — characters with their conversation trees, the quests, the files that could
// not be read — and how many items the filter keeps; the dialogues shown only because a kept one hangs
// below them are grey. Enter or a double click opens an item in its tab; Enter in the filter line opens
// the only item it keeps, and Down goes from the filter line into the tree.

#include "core/data/ReadReport.h"
#include "core/library/BrowserTree.h"
#include "gui/library/LibraryIndexService.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QModelIndex;
class QTreeView;

namespace pw {

class BackgroundWork;
struct Workspace;
class BrowserModel;

class LibraryBrowser : public QWidget {
    Q_OBJECT
public:
    LibraryBrowser(Workspace& workspace, QWidget* parent = nullptr);
    ~LibraryBrowser() override;

    // Puts text into the filter line and shows what it keeps.
    void SetFilter(const QString& text);
    // The first spoken lines are looked up in the background; this waits for them (for tests).
    void WaitForFirstLines();

signals:
    // An item chosen with Enter or a double click: a dialogue or a quest file to load into its tab.
    void OpenRequested(pw::RecordKind kind, const std::string& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "Библиотека читается…" with the files read so far, while a build runs.
    void ShowBuildProgress(std::size_t read, std::size_t total);
    // A new build of the index: its tree is made in the background, then shown.
    void PrepareSnapshot();
    void ShowSnapshot(std::shared_ptr<const LibrarySnapshot> snapshot, BrowserTree tree);
    void ApplyFilter();
    void OpenOnlyHit();
    void Activate(const QModelIndex& index);
    void LookUpFirstLines();

    Workspace& mWorkspace;
    QLineEdit* FilterEd = nullptr;
    QTreeView* LibraryTree = nullptr;
    QLabel* CountLbl = nullptr;
    BrowserModel* mModel = nullptr;
    BackgroundWork* mPrepare = nullptr; // the tree of a new build
    bool mPrepareAgain = false;         // a newer build came while one was prepared
    std::shared_ptr<const LibrarySnapshot> mSnapshot;
    std::vector<std::size_t> mHits; // the first two entries the filter keeps
    // The lookup of first lines running for mSnapshot; its result arrives through the event loop.
    std::shared_ptr<struct FirstLineLookup> mLookup;
};

} // namespace pw
