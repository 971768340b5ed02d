#include "gui/library/LibraryBrowser.h"

#include "core/data/Platform.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/BrowserFilter.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Cp1251Text.h"
#include "gui/common/Workspace.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QThread>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace pw {

// The lookup of every entry's first line in the string table, off the window's thread.
struct FirstLineLookup {
    std::shared_ptr<const LibrarySnapshot> snapshot;
    std::vector<std::string> lines; // per entry; written by the thread until it has finished
    std::unique_ptr<QThread> thread;
};

namespace {

using Kind = BrowserNode::Kind;

// The first column of a table entry: the text before its first ";".
std::string FirstColumn(const std::string& value) {
    return value.substr(0, value.find(';'));
}

// Above this many items a filter's result is shown collapsed, so that typing stays quick.
constexpr std::size_t kExpandLimit = 2000;

// The browser's tree of a build of the index.
BrowserTree TreeOf(const std::shared_ptr<const LibrarySnapshot>& snapshot) {
    if (!snapshot)
        return {};
    return BuildBrowserTree(snapshot->index, ToCp1251(QStringLiteral("Квесты")),
                            ToCp1251(QStringLiteral("Не прочитаны")),
                            ToCp1251(QStringLiteral("(без владельца)")));
}

} // namespace

// The browser's tree over one build of the index and what the filter keeps of it.
class BrowserModel : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

    // Shows tree, made of snapshot by TreeOf; what was shown before is let go in the background.
    void Show(std::shared_ptr<const LibrarySnapshot> snapshot, BrowserTree tree) {
        beginResetModel();
        ReleaseInBackground(std::make_shared<std::pair<std::shared_ptr<const LibrarySnapshot>, BrowserTree>>(
            std::exchange(mSnapshot, std::move(snapshot)), std::exchange(mTree, std::move(tree))));
        mFirstLines.clear();
        Keep(std::vector<unsigned char>(mSnapshot ? mSnapshot->index.Entries().size() : 0, 1));
        endResetModel();
    }
    // Keeps the entries set in keptEntries and the paths to them; the entries on those paths that are
    // not kept themselves are shown grey.
    void Filter(const std::vector<unsigned char>& keptEntries) {
        beginResetModel();
        Keep(keptEntries);
        endResetModel();
    }
    // How many dialogues, quests and unread files show, kept or on the way to one.
    std::size_t ShownEntryCount() const { return mShownEntries; }
    // The row of the entry's node; invalid when it is not shown.
    QModelIndex IndexOfEntry(std::size_t entry) const {
        for (std::size_t node = 0; node < mTree.nodes.size(); ++node)
            if (mTree.nodes[node].entry == entry)
                return mKept[node] ? createIndex(mRow[node], 0, static_cast<quintptr>(node)) : QModelIndex();
        return {};
    }
    void SetFirstLines(std::vector<std::string> lines) {
        mFirstLines = std::move(lines);
        if (!mKeptRoots.empty())
            emit dataChanged(index(0, 1), index(rowCount() - 1, 1));
        // Rows below the top ask for their data when they are shown, and get the lines then.
    }
    std::size_t KeptNodeCount() const { return mKeptCount; }

    const BrowserNode* NodeAt(const QModelIndex& index) const {
        return index.isValid() ? &mTree.nodes[index.internalId()] : nullptr;
    }
    const LibraryEntry* EntryAt(const QModelIndex& index) const {
        const BrowserNode* node = NodeAt(index);
        return node && node->entry != BrowserNode::kNone ? &mSnapshot->index[node->entry] : nullptr;
    }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        const std::vector<std::size_t>& rows = RowsUnder(parent);
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size() || column < 0 || column >= kColumns)
            return {};
        return createIndex(row, column, static_cast<quintptr>(rows[row]));
    }
    QModelIndex parent(const QModelIndex& child) const override {
        if (!child.isValid())
            return {};
        const std::size_t up = mTree.nodes[child.internalId()].parent;
        if (up == BrowserNode::kNone)
            return {};
        return createIndex(mRow[up], 0, static_cast<quintptr>(up));
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid() && parent.column() != 0)
            return 0;
        return static_cast<int>(RowsUnder(parent).size());
    }
    int columnCount(const QModelIndex& = {}) const override { return kColumns; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char* const kCaptions[kColumns] = {"Имя", "Первая реплика", "Квест", "Файл"};
        return QString::fromUtf8(kCaptions[section]);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const BrowserNode* node = NodeAt(index);
        if (!node)
            return {};
        const LibraryEntry* entry =
            node->entry != BrowserNode::kNone ? &mSnapshot->index[node->entry] : nullptr;
        if (role == Qt::DisplayRole)
            return Text(*node, entry, index.column());
        if (role == Qt::ToolTipRole && index.column() == 0)
            return Warning(*node, entry);
        if (role == Qt::ForegroundRole && entry && !mMatched[node->entry])
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        if (role == Qt::DecorationRole && index.column() == 0 && !Warning(*node, entry).isEmpty())
            return QApplication::style()->standardIcon(
                node->kind == Kind::Failed ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning);
        return {};
    }

private:
    static constexpr int kColumns = 4;

    const std::vector<std::size_t>& RowsUnder(const QModelIndex& parent) const {
        return parent.isValid() ? mKeptChildren[parent.internalId()] : mKeptRoots;
    }

    void Keep(const std::vector<unsigned char>& keptEntries) {
        mMatched = keptEntries;
        mKept = KeptNodes(mTree, keptEntries);
        const std::vector<unsigned char>& kept = mKept;
        mKeptChildren.assign(mTree.nodes.size(), {});
        mRow.assign(mTree.nodes.size(), 0);
        mKeptRoots.clear();
        mKeptCount = 0;
        mShownEntries = 0;
        auto keepAll = [&](const std::vector<std::size_t>& from, std::vector<std::size_t>& to) {
            for (std::size_t node : from)
                if (kept[node]) {
                    mRow[node] = static_cast<int>(to.size());
                    to.push_back(node);
                }
        };
        keepAll(mTree.roots, mKeptRoots);
        for (std::size_t i = 0; i < mTree.nodes.size(); ++i)
            if (kept[i]) {
                ++mKeptCount;
                mShownEntries += mTree.nodes[i].entry != BrowserNode::kNone ? 1 : 0;
                keepAll(mTree.nodes[i].children, mKeptChildren[i]);
            }
    }

    QVariant Text(const BrowserNode& node, const LibraryEntry* entry, int column) const {
        if (!entry)
            return column == 0 ? FromCp1251(node.label) : QVariant();
        switch (column) {
        case 0:
            return node.kind == Kind::Failed ? FromNativePath(entry->path)
                                             : FromCp1251(TrimView(entry->Name()));
        case 1:
            if (node.kind == Kind::Failed)
                return QString::fromStdString(entry->failure);
            return node.entry < mFirstLines.size() ? FromCp1251(mFirstLines[node.entry]) : QVariant();
        case 2:
            return node.kind == Kind::Dialogue ? FromCp1251(TrimView(entry->Quest())) : QVariant();
        default:
            return FromNativePath(entry->path);
        }
    }

    static QString Warning(const BrowserNode& node, const LibraryEntry* entry) {
        if (node.kind == Kind::Failed && entry)
            return QStringLiteral("Файл не прочитан: %1").arg(QString::fromStdString(entry->failure));
        if (!node.missingParent.empty())
            return QStringLiteral("Родительский диалог «%1» в библиотеке не найден")
                .arg(FromCp1251(node.missingParent));
        if (node.inCircle)
            return node.kind == Kind::Quest
                       ? QStringLiteral("Предшествующие квесты ссылаются друг на друга по кругу")
                       : QStringLiteral("Родительские диалоги ссылаются друг на друга по кругу");
        return {};
    }

    std::shared_ptr<const LibrarySnapshot> mSnapshot;
    BrowserTree mTree;
    std::vector<std::string> mFirstLines; // per entry, once looked up
    std::vector<std::vector<std::size_t>> mKeptChildren;
    std::vector<std::size_t> mKeptRoots;
    std::vector<int> mRow; // a kept node's row under its parent
    std::vector<unsigned char> mMatched; // per entry: the filter keeps it
    std::vector<unsigned char> mKept;    // per node: shown
    std::size_t mKeptCount = 0;
    std::size_t mShownEntries = 0;
};

LibraryBrowser::LibraryBrowser(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), mWorkspace(workspace) {
    setObjectName(QStringLiteral("LibraryBrowser"));
    setWindowTitle(QStringLiteral("Библиотека"));
    resize(760, 560);
    auto* layout = new QVBoxLayout(this);
    FilterEd = new QLineEdit(this);
    FilterEd->setObjectName(QStringLiteral("FilterEd"));
    FilterEd->setClearButtonEnabled(true);
    FilterEd->setPlaceholderText(
        QStringLiteral("Слова и поля: owner:, quest:, parent:, event:, command:, string:, folder:, uses:"));
    FilterEd->setToolTip(QStringLiteral(
        "Все условия должны выполняться вместе.\n"
        "owner:Diego — диалоги персонажа; quest:Имя — диалоги квеста и сам квест;\n"
        "parent:Имя — дочерние диалоги; event:Имя — условие CondPlayerKnows или команда SetGameEvent;\n"
        "command:RunQuest — диалоги с этой командой; string:ID — диалоги и квесты с этой строкой;\n"
        "folder:Myrtana/ — часть пути файла; uses:Имя — всё, что ссылается на имя;\n"
        "слово без поля — часть имени. F5 — перечитать библиотеку."));
    layout->addWidget(FilterEd);
    LibraryTree = new QTreeView(this);
    LibraryTree->setObjectName(QStringLiteral("LibraryTree"));
    LibraryTree->setUniformRowHeights(true);
    mModel = new BrowserModel(this);
    mPrepare = new BackgroundWork(this, BackgroundWork::Feedback::Quiet);
    LibraryTree->setModel(mModel);
    LibraryTree->header()->resizeSection(0, 260);
    LibraryTree->header()->resizeSection(1, 240);
    layout->addWidget(LibraryTree, 1);
    CountLbl = new QLabel(this);
    CountLbl->setObjectName(QStringLiteral("CountLbl"));
    layout->addWidget(CountLbl);

    FilterEd->installEventFilter(this);
    connect(FilterEd, &QLineEdit::textChanged, this, &LibraryBrowser::ApplyFilter);
    connect(FilterEd, &QLineEdit::returnPressed, this, &LibraryBrowser::OpenOnlyHit);
    connect(LibraryTree, &QTreeView::activated, this, &LibraryBrowser::Activate);
    if (mWorkspace.libraryIndex) {
        connect(mWorkspace.libraryIndex.get(), &LibraryIndexService::Rebuilt, this,
                &LibraryBrowser::PrepareSnapshot);
        connect(mWorkspace.libraryIndex.get(), &LibraryIndexService::BuildProgress, this,
                &LibraryBrowser::ShowBuildProgress);
    }
    const std::shared_ptr<const LibrarySnapshot> current =
        mWorkspace.libraryIndex ? mWorkspace.libraryIndex->Current() : nullptr;
    ShowSnapshot(current, TreeOf(current));
}

LibraryBrowser::~LibraryBrowser() {
    if (mLookup)
        mLookup->thread->wait();
}

void LibraryBrowser::SetFilter(const QString& text) {
    if (FilterEd->text() == text)
        ApplyFilter();
    else
        FilterEd->setText(text);
}

void LibraryBrowser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && mWorkspace.libraryIndex) {
        ShowBuildProgress(0, 0);
        mWorkspace.libraryIndex->Rebuild();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool LibraryBrowser::eventFilter(QObject* watched, QEvent* event) {
    // Down goes on from the filter line into the tree, at its first row when none is current.
    if (watched == FilterEd && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && mModel->rowCount() > 0) {
        if (!LibraryTree->currentIndex().isValid())
            LibraryTree->setCurrentIndex(mModel->index(0, 0));
        LibraryTree->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void LibraryBrowser::OpenOnlyHit() {
    if (mHits.size() == 1)
        Activate(mModel->IndexOfEntry(mHits.front()));
}

void LibraryBrowser::ShowBuildProgress(std::size_t read, std::size_t total) {
    QString text = QStringLiteral("Библиотека читается…");
    if (total > 0)
        text += QStringLiteral(" %1 из %2").arg(read).arg(total);
    CountLbl->setText(text);
}

void LibraryBrowser::PrepareSnapshot() {
    if (mPrepare->Running()) {
        mPrepareAgain = true; // a newer build came meanwhile: it is prepared next
        return;
    }
    mPrepareAgain = false;
    const std::shared_ptr<const LibrarySnapshot> snapshot = mWorkspace.libraryIndex->Current();
    auto tree = std::make_shared<BrowserTree>();
    mPrepare->Start(
        QString(), [snapshot, tree](const ProgressHook&) { *tree = TreeOf(snapshot); },
        [this, snapshot, tree](const WorkEnd& end) {
            if (mPrepareAgain)
                PrepareSnapshot();
            else if (!end.stopped && !end.failure)
                ShowSnapshot(snapshot, std::move(*tree));
        });
}

void LibraryBrowser::ShowSnapshot(std::shared_ptr<const LibrarySnapshot> snapshot, BrowserTree tree) {
    mSnapshot = std::move(snapshot);
    mModel->Show(mSnapshot, std::move(tree));
    ApplyFilter();
    LookUpFirstLines();
}

void LibraryBrowser::ApplyFilter() {
    if (!mSnapshot) {
        CountLbl->setText(mWorkspace.libraryIndex ? QStringLiteral("Библиотека читается…")
                                                  : QStringLiteral("Библиотека не открыта"));
        return;
    }
    const BrowserFilter filter(ToCp1251(FilterEd->text()));
    const std::vector<unsigned char> kept = filter.Select(mSnapshot->index);
    mModel->Filter(kept);
    mHits.clear();
    for (std::size_t i = 0; i < kept.size() && mHits.size() < 2; ++i)
        if (kept[i])
            mHits.push_back(i);
    const auto found = static_cast<std::size_t>(std::count(kept.begin(), kept.end(), 1));
    QString count = QStringLiteral("Найдено: %1 из %2").arg(found).arg(kept.size());
    // The dialogues above a match show too (grey), so that it keeps its place in its conversation.
    if (mModel->ShownEntryCount() != found)
        count += QStringLiteral(" (показано %1)").arg(mModel->ShownEntryCount());
    CountLbl->setText(count);
    if (!filter.Empty() && mModel->KeptNodeCount() <= kExpandLimit)
        LibraryTree->expandAll();
}

void LibraryBrowser::Activate(const QModelIndex& index) {
    const BrowserNode* node = mModel->NodeAt(index);
    const LibraryEntry* entry = mModel->EntryAt(index);
    if (!node || !entry || (node->kind != Kind::Dialogue && node->kind != Kind::Quest))
        return;
    emit OpenRequested(entry->kind, entry->path);
}

void LibraryBrowser::LookUpFirstLines() {
    if (mLookup) // a lookup for an older build: its lines are of no use now
        mLookup->thread->wait();
    mLookup.reset();
    const std::shared_ptr<TStringTable> table = mWorkspace.stringTable;
    if (!mSnapshot || !table)
        return;
    auto lookup = std::make_shared<FirstLineLookup>();
    lookup->snapshot = mSnapshot;
    FirstLineLookup* result = lookup.get();
    lookup->thread.reset(QThread::create([result, table, snapshot = mSnapshot] {
        std::vector<std::string> ids;
        ids.reserve(snapshot->index.Entries().size());
        for (const LibraryEntry& entry : snapshot->index.Entries())
            ids.push_back(!entry.Read()                     ? std::string()
                          : entry.kind == RecordKind::Quest ? Trim(entry.Field(EntryField::LogTopic))
                                                            : FirstSayId(entry));
        try {
            const std::vector<std::optional<std::string>> values = table->FindTableStrings(std::move(ids));
            result->lines.resize(values.size());
            for (std::size_t i = 0; i < values.size(); ++i)
                if (values[i])
                    result->lines[i] = FirstColumn(*values[i]);
        } catch (const std::exception&) {
            result->lines.clear(); // an unreadable table shows no lines
        }
        // The whole table was read here; what it was read with goes back to the system.
        platform::ReturnFreedMemory();
    }));
    connect(lookup->thread.get(), &QThread::finished, this, [this, weak = std::weak_ptr(lookup)] {
        if (weak.lock() == mLookup && mLookup)
            WaitForFirstLines();
    });
    mLookup = lookup;
    mLookup->thread->start(QThread::LowPriority);
}

void LibraryBrowser::WaitForFirstLines() {
    if (!mLookup)
        return;
    mLookup->thread->wait();
    if (mLookup->snapshot == mSnapshot)
        mModel->SetFirstLines(std::move(mLookup->lines));
    mLookup.reset();
}

} // namespace pw
