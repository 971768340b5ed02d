#pragma once
// One running editor per user and settings file. A start looks for the editor already running over a
// local socket and hands its files to it; where none runs, the start listens under that name itself, so
// the next start finds it. A socket left behind by a killed editor is removed and taken over.

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace pw {

// The socket's name for the settings file that a start reads: the same for every start of one user
// with that settings file, another for another user.
QString RunningEditorName(const QString& settingsFile);

class RunningEditor : public QObject {
    Q_OBJECT
public:
    enum class Start {
        Handed,  // the running editor took the files: this start ends
        Running, // none ran: this start is the running editor now and listens
        Alone,   // the running editor did not answer, or the socket could not be made: runs without it
    };

    explicit RunningEditor(QString name, QObject* parent = nullptr);
    ~RunningEditor() override;

    // Hands files (absolute paths) to the editor running under the name, or starts listening there.
    // Blocks for at most a few seconds; may run on a thread without an event loop.
    Start HandOverOrListen(const QStringList& files);

signals:
    // A later start handed files (possibly none) to this editor.
    void FilesHanded(const QStringList& files);

private:
    bool HandOver(QLocalSocket& socket, const QStringList& files);
    bool Listen();
    void Accept();
    void Read(QLocalSocket* socket);

    QString mName;
    QLocalServer* mServer = nullptr;
};

} // namespace pw
