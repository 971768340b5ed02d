#include "gui/app/RunningEditor.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace pw {
namespace {

constexpr int kWaitMs = 3000;
constexpr quint32 kMagic = 0x50577231; // "PWr1": what a start sends, before its files
constexpr char kTaken = 'k';           // the running editor's answer

} // namespace

QString RunningEditorName(const QString& settingsFile) {
    QString key = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QLatin1Char('\n') +
                  QFileInfo(settingsFile).absoluteFilePath();
#ifdef Q_OS_WIN
    key = key.toCaseFolded(); // one file, however a start spells its path
#endif
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("plotwright-") + QString::fromLatin1(hash.left(24));
}

RunningEditor::RunningEditor(QString name, QObject* parent) : QObject(parent), mName(std::move(name)) {}

RunningEditor::~RunningEditor() = default;

RunningEditor::Start RunningEditor::HandOverOrListen(const QStringList& files) {
    // Two starts at once: the first listens, the second then finds it.
    QLockFile lock(QDir::temp().filePath(mName + QStringLiteral(".lock")));
    lock.tryLock(kWaitMs);
    QLocalSocket socket;
    socket.connectToServer(mName);
    if (socket.waitForConnected(kWaitMs))
        return HandOver(socket, files) ? Start::Handed : Start::Alone;
    // Refused: a socket whose editor was killed; not found: none at all. Anything else may be a running
    // editor that is slow to answer, whose socket must not be taken.
    const QLocalSocket::LocalSocketError error = socket.error();
    if (error != QLocalSocket::ConnectionRefusedError && error != QLocalSocket::ServerNotFoundError)
        return Start::Alone;
    return Listen() ? Start::Running : Start::Alone;
}

bool RunningEditor::HandOver(QLocalSocket& socket, const QStringList& files) {
#ifdef Q_OS_WIN
    // Windows lets only the program in front bring a window to the front: this start is, so it lets
    // the running editor do so.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << files;
    socket.write(message);
    if (!socket.waitForBytesWritten(kWaitMs) && socket.bytesToWrite() > 0)
        return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(kWaitMs))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

bool RunningEditor::Listen() {
    mServer = new QLocalServer(this);
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(mServer, &QLocalServer::newConnection, this, &RunningEditor::Accept);
    if (mServer->listen(mName))
        return true;
    if (mServer->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalServer::removeServer(mName); // left by an editor that was killed: nobody answered on it
    return mServer->listen(mName);
}

void RunningEditor::Accept() {
    while (QLocalSocket* socket = mServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            Read(socket);
    }
}

void RunningEditor::Read(QLocalSocket* socket) {
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_0);
    in.startTransaction();
    quint32 magic = 0;
    QStringList files;
    in >> magic >> files;
    if (!in.commitTransaction())
        return; // the rest is still on its way
    if (magic != kMagic) {
        socket->abort();
        return;
    }
    // The start closes the connection once it has read the answer (a Windows pipe closed here first
    // could lose it).
    socket->putChar(kTaken);
    socket->flush();
    // After this handler: opening the files may ask questions, in an event loop of their own.
    QMetaObject::invokeMethod(
        this, [this, files] { emit FilesHanded(files); }, Qt::QueuedConnection);
}

} // namespace pw
