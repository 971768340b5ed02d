#pragma once
// The preview of a rename as the rename window shows it: a row per file, with a box that says whether the
// rename changes the file, and under it a row per change (line and key, old and new value). The boxes are
// the plan's own RenameFile::included; the model owns the plan it shows.

#include "core/library/LibraryRename.h"

#include <QAbstractItemModel>

#include <cstddef>
#include <optional>
#include <set>
#include <string>

namespace pw {

class RenamePreviewModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit RenamePreviewModel(QObject* parent = nullptr);

    // Shows plan with the files whose paths are in leftOut unticked, every other file ticked.
    void Show(RenamePlan plan, const std::set<std::string>& leftOut = {});
    // Shows nothing.
    void Clear();
    // The plan shown, with the ticks as they are; null when nothing is shown.
    const RenamePlan* Plan() const { return mPlan ? &*mPlan : nullptr; }
    // The paths of the files shown unticked.
    std::set<std::string> LeftOut() const;
    // While locked (the plan is being applied) the ticks cannot be changed; they still show.
    void SetLocked(bool locked);
    // How many files are ticked, and how many changes they hold.
    std::size_t TickedFiles() const;
    std::size_t TickedEdits() const;
    // path as the file system holds it, relative to the library folder of the plan shown that it is in
    // (whole when it is in none, as the string table may be).
    QString ShownPath(const std::string& path) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // A file was ticked or unticked.
    void TicksChanged();

private:
    // A file's row has the id 0, a change's row its file's number plus one.
    static constexpr quintptr kFileRow = 0;

    QVariant FileData(const RenameFile& file, int column, int role) const;
    static QVariant EditData(const RenameEdit& edit, int column, int role);

    std::optional<RenamePlan> mPlan;
    bool mLocked = false;
};

} // namespace pw
