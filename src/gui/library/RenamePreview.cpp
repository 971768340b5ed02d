#include "gui/library/RenamePreview.h"

#include "gui/common/Cp1251Text.h"

#include <QDir>

namespace pw {

namespace {

enum Column { kPlace, kOld, kNew, kColumns };

} // namespace

RenamePreviewModel::RenamePreviewModel(QObject* parent) : QAbstractItemModel(parent) {}

void RenamePreviewModel::Show(RenamePlan plan, const std::set<std::string>& leftOut) {
    beginResetModel();
    for (RenameFile& file : plan.files)
        file.included = !leftOut.contains(file.path);
    mPlan = std::move(plan);
    endResetModel();
    emit TicksChanged();
}

void RenamePreviewModel::Clear() {
    beginResetModel();
    mPlan.reset();
    endResetModel();
    emit TicksChanged();
}

std::set<std::string> RenamePreviewModel::LeftOut() const {
    std::set<std::string> paths;
    if (mPlan)
        for (const RenameFile& file : mPlan->files)
            if (!file.included)
                paths.insert(file.path);
    return paths;
}

std::size_t RenamePreviewModel::TickedFiles() const {
    std::size_t count = 0;
    if (mPlan)
        for (const RenameFile& file : mPlan->files)
            count += file.included ? 1 : 0;
    return count;
}

std::size_t RenamePreviewModel::TickedEdits() const {
    std::size_t count = 0;
    if (mPlan)
        for (const RenameFile& file : mPlan->files)
            count += file.included ? file.edits.size() : 0;
    return count;
}

QModelIndex RenamePreviewModel::index(int row, int column, const QModelIndex& parent) const {
    if (!mPlan || row < 0 || column < 0 || column >= kColumns || parent.column() > 0)
        return {};
    if (!parent.isValid())
        return static_cast<std::size_t>(row) < mPlan->files.size() ? createIndex(row, column, kFileRow)
                                                                   : QModelIndex();
    if (parent.internalId() != kFileRow)
        return {};
    const RenameFile& file = mPlan->files[static_cast<std::size_t>(parent.row())];
    if (static_cast<std::size_t>(row) >= file.edits.size())
        return {};
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex RenamePreviewModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kFileRow)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kFileRow);
}

int RenamePreviewModel::rowCount(const QModelIndex& parent) const {
    if (!mPlan || parent.column() > 0)
        return 0;
    if (!parent.isValid())
        return static_cast<int>(mPlan->files.size());
    if (parent.internalId() != kFileRow)
        return 0;
    return static_cast<int>(mPlan->files[static_cast<std::size_t>(parent.row())].edits.size());
}

int RenamePreviewModel::columnCount(const QModelIndex&) const {
    return kColumns;
}

QVariant RenamePreviewModel::data(const QModelIndex& index, int role) const {
    if (!mPlan || !index.isValid())
        return {};
    if (index.internalId() == kFileRow)
        return FileData(mPlan->files[static_cast<std::size_t>(index.row())], index.column(), role);
    const RenameFile& file = mPlan->files[index.internalId() - 1];
    return EditData(file.edits[static_cast<std::size_t>(index.row())], index.column(), role);
}

QVariant RenamePreviewModel::FileData(const RenameFile& file, int column, int role) const {
    if (column == kPlace && role == Qt::CheckStateRole)
        return file.included ? Qt::Checked : Qt::Unchecked;
    const std::string* path = column == kPlace                          ? &file.path
                              : column == kNew && !file.newPath.empty() ? &file.newPath
                                                                        : nullptr;
    if (!path)
        return {};
    if (role == Qt::DisplayRole)
        return ShownPath(*path);
    if (role == Qt::ToolTipRole)
        return FromNativePath(*path);
    return {};
}

QVariant RenamePreviewModel::EditData(const RenameEdit& edit, int column, int role) {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (column) {
    case kPlace:
        return role == Qt::DisplayRole ? QStringLiteral("%1: %2").arg(edit.line).arg(FromCp1251(edit.key))
                                       : QVariant();
    case kOld:
        return FromCp1251(edit.oldText);
    default:
        return FromCp1251(edit.newText);
    }
}

bool RenamePreviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!mPlan || mLocked || !index.isValid() || index.internalId() != kFileRow || index.column() != kPlace ||
        role != Qt::CheckStateRole)
        return false;
    RenameFile& file = mPlan->files[static_cast<std::size_t>(index.row())];
    const bool included = value.value<Qt::CheckState>() == Qt::Checked;
    if (file.included == included)
        return true;
    file.included = included;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit TicksChanged();
    return true;
}

Qt::ItemFlags RenamePreviewModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.internalId() == kFileRow && index.column() == kPlace && !mLocked)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void RenamePreviewModel::SetLocked(bool locked) {
    // What shows stays the same, and views ask for the flags as the user clicks: nothing to announce
    // (which for thousands of rows would hold up the window).
    mLocked = locked;
}

QVariant RenamePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kCaptions[kColumns] = {"Файл и строка", "Было", "Станет"};
    return QString::fromUtf8(kCaptions[section]);
}

QString RenamePreviewModel::ShownPath(const std::string& path) const {
    const QString whole = FromNativePath(path);
    if (!mPlan)
        return whole;
    for (const std::string& root : mPlan->request.roots) {
        if (root.empty())
            continue;
        const QString relative = QDir(FromNativePath(root)).relativeFilePath(whole);
        if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative))
            return QDir::toNativeSeparators(relative);
    }
    return whole;
}

} // namespace pw
