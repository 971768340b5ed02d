#include "gui/common/UserDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace pw {

namespace {

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons StandardButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::RetryClose:
        return QMessageBox::Retry | QMessageBox::Close;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        break;
    }
    return QMessageBox::Yes | QMessageBox::No;
}

std::optional<QString> ChosenPath(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

// The folder, or the nearest folder above it that exists; empty for an empty folder.
QString ExistingFolder(const QString& folder) {
    if (folder.isEmpty())
        return {};
    QFileInfo info(QDir::fromNativeSeparators(folder));
    while (!info.isDir()) {
        const QString above = info.absolutePath();
        if (above == info.absoluteFilePath())
            return {};
        info.setFile(above);
    }
    return info.absoluteFilePath();
}

std::optional<QString> RunChooser(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ChosenPath(dialog.selectedFiles().first());
}

// The real dialogs, shown on screen.
class QtDialogs final : public UserDialogs {
public:
    MsgAnswer Message(QWidget* owner, const QString& text, const QString& caption, MsgIcon icon,
                      MsgButtons buttons) override {
        QMessageBox box(BoxIcon(icon), caption, text, StandardButtons(buttons), owner);
        if (buttons == MsgButtons::YesNoDefaultNo)
            box.setDefaultButton(QMessageBox::No);
        const int answer = box.exec();
        switch (buttons) {
        case MsgButtons::Ok:
            return MsgAnswer::Ok;
        case MsgButtons::RetryClose:
            return answer == QMessageBox::Retry ? MsgAnswer::Retry : MsgAnswer::No;
        default:
            return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
        }
    }

    std::optional<QString> ChooseFolder(QWidget* owner, const QString& title,
                                        const QString& startFolder) override {
        QFileDialog dialog(owner, title, ExistingFolder(startFolder));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        return RunChooser(dialog);
    }

    std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& title, const QString& initialName,
                                          const QString& filter) override {
        return RunFileDialog(owner, title, initialName, filter, QFileDialog::AcceptOpen);
    }

    void Beep() override { QApplication::beep(); }

    int RunModal(QDialog* dialog) override { return dialog->exec(); }

protected:
    std::optional<QString> AskSaveName(QWidget* owner, const QString& title, const QString& initialName,
                                       const QString& filter) override {
        return RunFileDialog(owner, title, initialName, filter, QFileDialog::AcceptSave);
    }

private:
    static std::optional<QString> RunFileDialog(QWidget* owner, const QString& title,
                                                const QString& initialName, const QString& filter,
                                                QFileDialog::AcceptMode mode) {
        const QFileInfo initial(QDir::fromNativeSeparators(initialName));
        QFileDialog dialog(owner, title);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        // The replace question comes after the default extension is added, so ChooseSaveFile asks it.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!filter.isEmpty())
            dialog.setNameFilter(filter);
        if (initial.filePath() != initial.fileName()) // a path, not a bare name
            dialog.setDirectory(ExistingFolder(initial.path()));
        dialog.selectFile(initial.fileName());
        return RunChooser(dialog);
    }
};

QtDialogs& QtService() {
    static QtDialogs service;
    return service;
}

UserDialogs* gInstalled = nullptr;

} // namespace

std::optional<QString> UserDialogs::ChooseSaveFile(QWidget* owner, const QString& title,
                                                   const QString& initialName, const QString& filter,
                                                   const QString& defaultSuffix) {
    QString name = initialName;
    for (;;) {
        const std::optional<QString> typed = AskSaveName(owner, title, name, filter);
        if (!typed)
            return std::nullopt;
        name = WithDefaultSuffix(*typed, defaultSuffix);
        const QFileInfo file(name);
        if (!file.exists() || file.isDir())
            return name;
        // Qt's own words for the question, so its translations speak the user's language.
        const QString question =
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(file.fileName());
        const QString caption =
            title.isEmpty() ? QCoreApplication::translate("QFileDialog", "Save As") : title;
        if (Message(owner, question, caption, MsgIcon::Warning, MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes)
            return name;
    }
}

QString WithDefaultSuffix(const QString& name, const QString& suffix) {
    if (suffix.isEmpty() || QFileInfo(name).fileName().contains(u'.'))
        return name;
    return name + u'.' + suffix;
}

UserDialogs& Dialogs() {
    return gInstalled ? *gInstalled : QtService();
}

void SetDialogs(UserDialogs* dialogs) {
    gInstalled = dialogs;
}

} // namespace pw
