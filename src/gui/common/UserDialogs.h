#pragma once
// The dialogs service: every message box, question, file or folder chooser, beep and modal run of one
// of our own windows goes through it. The program installs the Qt implementation; tests install a
// scripted one that records each call and answers as told, so no test ever blocks on a modal window.

#include <QString>

#include <optional>

class QDialog;
class QWidget;

namespace pw {

enum class MsgIcon { None, Information, Warning, Error, Question };
// YesNoDefaultNo: a question whose Yes loses something (overwrites a file); Enter and the default button
// answer No there. RetryClose: "Повторить" (Retry) and "Закрыть", where any answer but Retry closes.
enum class MsgButtons { Ok, YesNo, YesNoDefaultNo, RetryClose };
enum class MsgAnswer { Ok, Yes, No, Retry };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message box. owner may be null (a box that belongs to no window).
    virtual MsgAnswer Message(QWidget* owner, const QString& text, const QString& caption, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // The folder chooser, opened at startFolder, or when that no longer exists at the nearest folder
    // above it that does (empty: where the system opens it); std::nullopt when the user cancels.
    virtual std::optional<QString> ChooseFolder(QWidget* owner, const QString& title,
                                                const QString& startFolder) = 0;
    // A file-open dialog that requires an existing file; std::nullopt when the user cancels.
    // initialName is the file name offered, or a path: the chooser then opens at its folder (as
    // ChooseFolder does) and offers its name. filter holds Qt name filters ("Name (*.ext)", several
    // joined by ";;"); each entry is shown by its Name alone, so a name that should show its pattern
    // repeats it ("INI Files (*.ini) (*.ini)").
    virtual std::optional<QString> ChooseOpenFile(QWidget* owner, const QString& title,
                                                  const QString& initialName, const QString& filter) = 0;
    // The save dialog: the chooser (initialName and filter as for ChooseOpenFile; an empty title is the
    // system's own),
    // then defaultSuffix added to a name typed without any extension, then for an existing file the
    // question whether to replace it, where No opens the chooser again. std::nullopt when the user
    // cancels.
    std::optional<QString> ChooseSaveFile(QWidget* owner, const QString& title, const QString& initialName,
                                          const QString& filter, const QString& defaultSuffix);
    // The system's information sound.
    virtual void Beep() = 0;
    // Runs one of the program's own windows modally and returns its result code.
    virtual int RunModal(QDialog* dialog) = 0;

protected:
    // The bare save chooser behind ChooseSaveFile: the name as typed, no extension added and no
    // question asked; std::nullopt when the user cancels.
    virtual std::optional<QString> AskSaveName(QWidget* owner, const QString& title,
                                               const QString& initialName, const QString& filter) = 0;
};

// name with "." + suffix appended when its file name holds no "." at all (an empty suffix adds nothing).
QString WithDefaultSuffix(const QString& name, const QString& suffix);

// The service in use. Until one is installed, a Qt implementation is used.
UserDialogs& Dialogs();
// Installs a service (not owned); nullptr restores the Qt implementation.
void SetDialogs(UserDialogs* dialogs);

} // namespace pw
