#pragma once
// Files dropped onto a main window: which kind of file a path names, and the catcher that takes a
// drop of files anywhere on the window, also over a text field that would otherwise take it as text.

#include <QObject>
#include <QStringList>

#include <functional>
#include <string_view>

class QWidget;

namespace pw {

enum class DroppedFileKind { Info, Quest, Unsupported };

// By the extension of the file name (the text from its last "."), letter case ignored: ".info" or
// ".quest"; anything else, no extension included, is Unsupported.
DroppedFileKind DroppedFileKindOf(std::string_view path);
// Whether the file name of path is "stringtable.ini", letter case ignored: the game's string table.
bool IsStringTableFile(std::string_view path);

// Installed on the application, it takes every drag of local files over a widget of window and hands
// the files of the drop, in the order of the drop, to onDrop.
class FileDropCatcher : public QObject {
public:
    FileDropCatcher(QWidget* window, std::function<void(const QStringList&)> onDrop);
    ~FileDropCatcher() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mWindow;
    std::function<void(const QStringList&)> mOnDrop;
};

} // namespace pw
