#include "gui/app/TranslationsWindow.h"

#include "core/data/Cp1251.h"
#include "core/strings/CellWrite.h"
#include "core/strings/LanguageTable.h"
#include "core/strings/TranslationGrid.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/FieldText.h"
#include "gui/common/TableStrings.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Workspace.h"
#include "gui/widgets/ComboBoxRules.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

namespace pw {
namespace {

const char* const kCaption = "Переводы";

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The background of a target cell that holds no translation yet.
QVariant StateBackground(CellState state) {
    switch (state) {
    case CellState::Missing:
        return QColor(255, 228, 225);
    case CellState::Placeholder:
        return QColor(255, 246, 205);
    case CellState::SameAsEnglish:
        return QColor(226, 236, 255);
    case CellState::Translated:
        break;
    }
    return {};
}

} // namespace

// The grid's rows the filter lets through, as three columns; the target column is edited, and an edit
// goes to the window's write.
class TranslationsModel : public QAbstractTableModel {
public:
    using Write = std::function<bool(std::size_t row, const QString& text)>;
    TranslationsModel(QObject* parent, Write write) : QAbstractTableModel(parent), mWrite(std::move(write)) {}

    void SetGrid(const TranslationGrid* grid, std::vector<std::size_t> rows) {
        beginResetModel();
        mGrid = grid;
        mRows = std::move(rows);
        endResetModel();
    }
    void LanguagesChanged() { emit headerDataChanged(Qt::Horizontal, 1, 2); }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(mRows.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex& index, int role) const override {
        const std::size_t row = mRows[static_cast<std::size_t>(index.row())];
        if (role == Qt::BackgroundRole && index.column() == 2)
            return StateBackground(mGrid->TargetState(row));
        if (role == Qt::ToolTipRole && index.column() == 0)
            return QStringLiteral("Строка %1 таблицы").arg(mGrid->Line(row));
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        switch (index.column()) {
        case 0:
            return Utf8(mGrid->Id(row));
        case 1:
            return Utf8(mGrid->SourceText(row));
        default:
            return Utf8(mGrid->TargetText(row));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        if (section == 0)
            return QStringLiteral("ID");
        if (!mGrid)
            return QString(); // no languages before the table is read
        return QString::fromStdString(section == 1 ? mGrid->Source().name : mGrid->Target().name);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
        return index.column() == 2 ? flags | Qt::ItemIsEditable : flags;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole || index.column() != 2)
            return false;
        const std::size_t row = mRows[static_cast<std::size_t>(index.row())];
        const QString text = value.toString();
        if (text == Utf8(mGrid->TargetText(row)))
            return false; // left unchanged: nothing to write
        const bool written = mWrite(row, text);
        // A refused write may have read the entry's new value from the file.
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), 2));
        return written;
    }

private:
    Write mWrite;
    const TranslationGrid* mGrid = nullptr;
    std::vector<std::size_t> mRows;
};

TranslationsWindow::TranslationsWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), mWorkspace(workspace), mLoad(new BackgroundWork(this)) {
    setObjectName(QStringLiteral("TranslationsFrm"));
    setWindowTitle(QString::fromUtf8(kCaption));
    resize(900, 600);
    BuildControls();
}

TranslationsWindow::~TranslationsWindow() {
    // The view may still ask the model while QWidget closes it, after the grid is gone.
    mModel->SetGrid(nullptr, {});
}

void TranslationsWindow::BuildControls() {
    const auto combo = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        ApplyComboBoxRules(box);
        return box;
    };
    SourceLangCmb = combo("SourceLangCmb");
    TargetLangCmb = combo("TargetLangCmb");
    // Filled once the table is read, after the window first shows: as wide as their names then.
    for (QComboBox* box : {SourceLangCmb, TargetLangCmb})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    StateCmb = combo("StateCmb");
    StateCmb->addItems({QStringLiteral("все"), QStringLiteral("без перевода"), QStringLiteral("заглушки"),
                        QStringLiteral("как в английском")});
    FilterEd = new QLineEdit(this);
    FilterEd->setObjectName(QStringLiteral("FilterEd"));
    FilterEd->setPlaceholderText(QStringLiteral("ID или часть текста"));
    FilterEd->setClearButtonEnabled(true);

    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("С языка"), this));
    choices->addWidget(SourceLangCmb);
    choices->addWidget(new QLabel(QStringLiteral("на"), this));
    choices->addWidget(TargetLangCmb);
    choices->addSpacing(12);
    choices->addWidget(FilterEd, 1);
    choices->addWidget(StateCmb);

    mModel = new TranslationsModel(this, [this](std::size_t row, const QString& text) {
        bool written = false;
        RunGuarded(this, [&] { written = WriteCell(row, text); });
        return written;
    });
    TranslationsList = new QTableView(this);
    TranslationsList->setObjectName(QStringLiteral("TranslationsList"));
    TranslationsList->setModel(mModel);
    TranslationsList->setWordWrap(false);
    TranslationsList->verticalHeader()->hide();
    TranslationsList->verticalHeader()->setDefaultSectionSize(TranslationsList->fontMetrics().height() + 6);
    TranslationsList->horizontalHeader()->setStretchLastSection(true);
    TranslationsList->setColumnWidth(0, 220);
    TranslationsList->setColumnWidth(1, 300);
    TranslationsList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed);

    CountLbl = new QLabel(this);
    CountLbl->setObjectName(QStringLiteral("CountLbl"));
    auto* bars = new QWidget(this);
    bars->setObjectName(QStringLiteral("ProgressBars"));
    mBars = new QVBoxLayout(bars);
    mBars->setContentsMargins(0, 0, 0, 0);
    mBars->setSpacing(2);

    auto* side = new QVBoxLayout;
    side->addWidget(CountLbl);
    side->addWidget(bars);
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(TranslationsList, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(body, 1);

    connect(FilterEd, &QLineEdit::textChanged, this, &TranslationsWindow::ApplyFilter);
    connect(StateCmb, &QComboBox::currentIndexChanged, this, &TranslationsWindow::ApplyFilter);
    for (QComboBox* box : {SourceLangCmb, TargetLangCmb})
        connect(box, &QComboBox::currentIndexChanged, this, &TranslationsWindow::LanguagesChanged);
    auto* reload = new QAction(QStringLiteral("Перечитать таблицу"), this);
    reload->setObjectName(QStringLiteral("ReloadAction"));
    reload->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(reload);
    connect(reload, &QAction::triggered, this, [this] { RunGuarded(this, [this] { Reload(); }); });
}

void TranslationsWindow::Reload() {
    if (mLoad->Running())
        return; // the table is being read already
    mModel->SetGrid(nullptr, {});
    mGrid.reset();
    if (!mWorkspace.stringTable)
        return ShowUnavailable(QStringLiteral("Таблица строк недоступна: в настройках указаны не все пути."));
    const std::string path = mWorkspace.stringTable->Path();
    ShowUnavailable(QStringLiteral("Таблица строк читается…"));
    auto grid = std::make_shared<std::unique_ptr<TranslationGrid>>();
    mLoad->Start(
        QStringLiteral("Таблица строк читается…"),
        [path, grid](const ProgressHook& hook) {
            // One read of the whole table: a stop is heard before it begins and after it.
            if (hook(0, 1))
                *grid = std::make_unique<TranslationGrid>(LanguageTable::Read(path));
        },
        [this, path, grid](const WorkEnd& end) { Loaded(path, std::move(*grid), end); });
}

void TranslationsWindow::Loaded(const std::string& path, std::unique_ptr<TranslationGrid> grid,
                                const WorkEnd& end) {
    if (end.failure) {
        ShowUnavailable(QStringLiteral("Таблица строк не прочитана."));
        RunGuarded(this, [&end] { end.RethrowFailure(); });
        return;
    }
    if (end.stopped || !grid)
        return ShowUnavailable(QStringLiteral("Чтение таблицы строк остановлено. F5 — прочитать снова."));
    if (grid->Layout().SingleLanguage())
        return ShowUnavailable(QString::fromStdString(SingleLanguageMessage(path)));
    mGrid = std::move(grid);
    for (QWidget* control : std::initializer_list<QWidget*>{SourceLangCmb, TargetLangCmb, FilterEd, StateCmb})
        control->setEnabled(true);
    FillLanguages();
    LanguagesChanged();
}

void TranslationsWindow::ShowUnavailable(const QString& why) {
    CountLbl->setText(why);
    for (QWidget* control : std::initializer_list<QWidget*>{SourceLangCmb, TargetLangCmb, FilterEd, StateCmb})
        control->setEnabled(false);
    while (QLayoutItem* item = mBars->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

// The source is English, the target the language the editors show, else Russian; a choice made in the
// window before is kept while the table still has it.
void TranslationsWindow::FillLanguages() {
    const TableLanguages& languages = mGrid->Layout().languages;
    const std::optional<ChosenLanguage> chosen = ChosenTableLanguage(mWorkspace);
    const QString source =
        SourceLangCmb->count() ? SourceLangCmb->currentData().toString() : QStringLiteral("en");
    const QString target = TargetLangCmb->count()
                               ? TargetLangCmb->currentData().toString()
                               : QString::fromStdString(chosen ? chosen->language.code : std::string("ru"));
    for (QComboBox* box : {SourceLangCmb, TargetLangCmb}) {
        const QSignalBlocker blocker(box);
        const QString wanted = box == SourceLangCmb ? source : target;
        box->clear();
        for (const TableLanguage& language : languages.All())
            box->addItem(QString::fromStdString(language.name + " (" + language.code + ")"),
                         QString::fromStdString(language.code));
        const int at = box->findData(wanted);
        box->setCurrentIndex(at >= 0 ? at : box == SourceLangCmb ? 0 : box->count() - 1);
    }
}

void TranslationsWindow::LanguagesChanged() {
    if (!mGrid)
        return;
    const std::vector<TableLanguage>& all = mGrid->Layout().languages.All();
    mGrid->SetLanguages(all[static_cast<std::size_t>(SourceLangCmb->currentIndex())],
                        all[static_cast<std::size_t>(TargetLangCmb->currentIndex())]);
    mModel->LanguagesChanged();
    ApplyFilter();
    ShowCounts();
}

void TranslationsWindow::ApplyFilter() {
    if (!mGrid)
        return;
    const std::string part = FilterEd->text().toStdString();
    mModel->SetGrid(mGrid.get(), mGrid->Filter(part, static_cast<StateFilter>(StateCmb->currentIndex())));
}

void TranslationsWindow::ShowCounts() {
    const std::vector<LanguageCounts> counts = mGrid->Counts();
    const LanguageCounts& target = counts[static_cast<std::size_t>(mGrid->Target().column - 1)];
    CountLbl->setText(QStringLiteral("Переведено: %1 из %2 (%3 %)")
                          .arg(target.Translated())
                          .arg(target.Total())
                          .arg(target.Percent()));
    while (QLayoutItem* item = mBars->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const TableLanguage& language : mGrid->Layout().languages.All()) {
        const LanguageCounts& of = counts[static_cast<std::size_t>(language.column - 1)];
        auto* bar = new QProgressBar;
        bar->setObjectName(QString::fromStdString("Bar_" + language.code));
        bar->setRange(0, 100);
        bar->setValue(of.Percent());
        bar->setFormat(QString::fromStdString(language.name) + QStringLiteral(": %p %"));
        bar->setToolTip(QStringLiteral("Переведено %1 из %2").arg(of.Translated()).arg(of.Total()));
        mBars->addWidget(bar);
    }
}

bool TranslationsWindow::WriteCell(std::size_t row, const QString& text) {
    const std::string id = mGrid->Id(row);
    CellWrite write;
    write.id = id;
    write.field = mGrid->Target().TextField();
    write.text = text.toStdString();
    write.fieldCount = mGrid->Layout().fieldCount;
    write.replaceFilled = true;
    write.expectedValue = std::optional<std::string>(mGrid->Value(row));
    const CellWriteResult result = WriteTableCell(mWorkspace.stringTable->Path(), write);
    const auto tell = [this](const QString& message) {
        Dialogs().Message(this, message, QString::fromUtf8(kCaption), MsgIcon::Warning, MsgButtons::Ok);
    };
    switch (result.status) {
    case CellWriteStatus::Written:
        mGrid->SetValue(row, *result.value);
        ShowCounts();
        emit TableWritten();
        return true;
    case CellWriteStatus::ChangedOnDisk:
        mGrid->SetValue(row, result.value.value_or(std::string()));
        tell(QStringLiteral("Запись %1 изменилась в файле после того, как окно её прочитало: перевод не "
                            "записан. Теперь в окне её текст из файла.")
                 .arg(Utf8(id)));
        ShowCounts();
        return false;
    case CellWriteStatus::NotInEncoding:
        if (const auto lacking = FirstCp1251Lacks(DecodeUtf8(write.text).value_or(std::u32string())))
            tell(UnwritableMessage({QStringLiteral("В переводе"), DecodeUtf8(lacking->utf8)->front()},
                                   QStringLiteral("Перевод не записан")));
        return false;
    case CellWriteStatus::EmptyId:
    case CellWriteStatus::InvalidId:
    case CellWriteStatus::NeedsConfirmation:
        break;
    }
    tell(QString::fromStdString(result.problem.empty() ? EmptyIdMessage() : result.problem));
    return false;
}

} // namespace pw
