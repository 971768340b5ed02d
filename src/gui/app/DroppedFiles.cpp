#include "gui/app/DroppedFiles.h"

#include "core/data/Cp1251.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace pw {

DroppedFileKind DroppedFileKindOf(std::string_view path) {
    const std::size_t dot = path.find_last_of(".\\/:");
    if (dot == std::string_view::npos || path[dot] != '.')
        return DroppedFileKind::Unsupported;
    const std::string_view extension = path.substr(dot);
    if (AsciiEqualNoCase(extension, ".info"))
        return DroppedFileKind::Info;
    if (AsciiEqualNoCase(extension, ".quest"))
        return DroppedFileKind::Quest;
    return DroppedFileKind::Unsupported;
}

bool IsStringTableFile(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return AsciiEqualNoCase(slash == std::string_view::npos ? path : path.substr(slash + 1),
                            "stringtable.ini");
}

namespace {

QStringList LocalFiles(const QMimeData* mime) {
    QStringList files;
    if (mime && mime->hasUrls())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

} // namespace

FileDropCatcher::FileDropCatcher(QWidget* window, std::function<void(const QStringList&)> onDrop)
    : QObject(window), mWindow(window), mOnDrop(std::move(onDrop)) {
    qApp->installEventFilter(this);
}

FileDropCatcher::~FileDropCatcher() {
    qApp->removeEventFilter(this);
}

bool FileDropCatcher::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != mWindow)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList files = LocalFiles(drop->mimeData());
    if (files.isEmpty())
        return false; // not a drop of files: the widget handles it as usual
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        mOnDrop(files);
    return true;
}

} // namespace pw
