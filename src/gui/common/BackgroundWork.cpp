#include "gui/common/BackgroundWork.h"

#include "core/data/Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

namespace pw {
namespace {

// How often the window looks at the work's progress: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr int kPollMs = 40;

} // namespace

void WorkEnd::RethrowFailure() const {
    if (failure)
        std::rethrow_exception(failure);
}

BackgroundWork::BackgroundWork(QWidget* owner, Feedback feedback)
    : QObject(owner), mOwner(owner), mMadeFeedback(feedback), mFeedback(feedback), mPoll(new QTimer(this)) {
    mPoll->setInterval(kPollMs);
    connect(mPoll, &QTimer::timeout, this, &BackgroundWork::Poll);
}

BackgroundWork::~BackgroundWork() {
    if (mShared)
        mShared->stop = true;
    if (mThread.joinable())
        mThread.join();
}

void BackgroundWork::Start(const QString& label, std::function<void(const ProgressHook&)> work,
                           std::function<void(const WorkEnd&)> done, const QString& countFormat) {
    if (Running())
        throw std::logic_error("background work is running already");
    mLabel = label;
    mCountFormat = countFormat;
    mStopping = false;
    mFeedback = mMadeFeedback;
    mDone = std::move(done);
    mClock.start();
    mShared = std::make_shared<Shared>();
    mThread = std::thread([shared = mShared, work = std::move(work)] {
        platform::LowerThreadPriority(); // the window's thread first
        const ProgressHook hook = [&shared](std::size_t done, std::size_t total) {
            shared->done = done;
            shared->total = total;
            return !shared->stop;
        };
        try {
            work(hook);
        } catch (...) {
            shared->end.failure = std::current_exception();
        }
        shared->end.stopped = shared->stop && !shared->end.failure;
        shared->ended = true;
    });
    mPoll->start();
}

void BackgroundWork::Cancel() {
    if (!mShared)
        return;
    mShared->stop = true;
    mStopping = true;
    if (mDialog)
        mDialog->setLabelText(DialogText());
}

void BackgroundWork::ShowProgress() {
    if (!Running() || mFeedback == Feedback::Dialog)
        return;
    mFeedback = Feedback::Dialog;
    mClock.restart();
}

QString BackgroundWork::DialogText() const {
    QString text = mLabel;
    const std::size_t total = mShared ? mShared->total.load() : 0;
    if (!mCountFormat.isEmpty() && total > 0)
        text += u'\n' + mCountFormat.arg(std::min<std::size_t>(mShared->done, total)).arg(total);
    if (mStopping)
        text += QStringLiteral("\nОстанавливается…");
    return text;
}

void BackgroundWork::Poll() {
    if (mShared->ended) {
        Deliver();
        return;
    }
    emit Progressed(mShared->done, mShared->total);
    if (!mDialog && mFeedback == Feedback::Dialog && mClock.elapsed() >= kShowAfterMs)
        ShowDialog();
    if (!mDialog)
        return;
    const std::size_t total = mShared->total;
    // A bar that moves to and fro while the number of steps is not known yet.
    const int scale = total > 0 ? 1000 : 0;
    mDialog->setMaximum(scale);
    if (total > 0)
        mDialog->setValue(static_cast<int>(std::min<std::size_t>(mShared->done, total) * 1000 / total));
    if (const QString text = DialogText(); text != mDialog->labelText())
        mDialog->setLabelText(text);
}

void BackgroundWork::ShowDialog() {
    mDialog = new QProgressDialog(DialogText(), QStringLiteral("Отмена"), 0, 0, mOwner);
    mDialog->setObjectName(QStringLiteral("BackgroundWorkDlg"));
    mDialog->setWindowTitle(QCoreApplication::applicationName());
    // The window behind stays usable: only what the work changes is disabled by its owner.
    mDialog->setWindowModality(Qt::NonModal);
    mDialog->setAutoClose(false);
    mDialog->setAutoReset(false);
    mDialog->setMinimumDuration(0);
    // The dialog stays until the work has stopped, saying so, instead of hiding at the click.
    disconnect(mDialog, &QProgressDialog::canceled, mDialog, &QProgressDialog::cancel);
    connect(mDialog, &QProgressDialog::canceled, this, &BackgroundWork::Cancel);
    mDialog->show();
}

void BackgroundWork::Deliver() {
    mPoll->stop();
    mThread.join();
    if (mDialog) {
        mDialog->hide();
        mDialog->deleteLater();
        mDialog = nullptr;
    }
    const WorkEnd end = mShared->end;
    mShared.reset();
    if (const auto done = std::move(mDone))
        done(end);
    emit Finished();
}

void BackgroundWork::Wait() {
    if (!Running())
        return;
    QEventLoop loop;
    connect(this, &BackgroundWork::Finished, &loop, &QEventLoop::quit);
    loop.exec();
}

void ReleaseInBackground(std::shared_ptr<const void> held) {
    if (!held)
        return;
    QThreadPool::globalInstance()->start([held = std::move(held)]() mutable {
        held.reset();
        platform::ReturnFreedMemory();
    });
}

} // namespace pw
