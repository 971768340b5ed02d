#pragma once
// Long work off the GUI thread. The window keeps repainting and answering while it runs; once it has lasted
// kShowAfterMs a progress dialog says how far it is, and its "Отмена" makes the work's progress hook ask
// the work to stop at its next safe point. The end comes back on the GUI thread. The owner disables what
// would change what the work works on, and enables it again when the work ends.

#include "core/data/Progress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

class QProgressDialog;
class QTimer;
class QWidget;

namespace pw {

// How a piece of work ended.
struct WorkEnd {
    bool stopped = false;       // the hook asked it to stop and it did (at a safe point)
    std::exception_ptr failure; // what it threw; null when it returned
    // Throws the work's exception again, for RunGuarded to show; does nothing when it returned.
    void RethrowFailure() const;
};

class BackgroundWork : public QObject {
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 300;

    // How the work shows its progress: in the progress dialog, or only through Progressed, for an owner
    // that says it in a line of its own.
    enum class Feedback { Dialog, Quiet };

    // owner: the window the progress dialog belongs to; also this object's parent.
    explicit BackgroundWork(QWidget* owner, Feedback feedback = Feedback::Dialog);
    // Asks running work to stop and waits for it: its end is not delivered.
    ~BackgroundWork() override;

    // Runs work on a thread of its own; label is the progress dialog's text, and countFormat, when given,
    // its line under the label once the number of steps is known (%1 the steps done, %2 all). When the
    // work has ended, done runs here with how. One piece of work at a time: Start while Running() throws
    // std::logic_error.
    void Start(const QString& label, std::function<void(const ProgressHook&)> work,
               std::function<void(const WorkEnd&)> done, const QString& countFormat = {});
    bool Running() const { return mThread.joinable(); }
    // Work made Quiet runs without the user having asked for it (a read ahead): quitting stops it unasked.
    bool Quiet() const { return mMadeFeedback == Feedback::Quiet; }
    // Asks the work to stop at its next safe point; its end comes as usual.
    void Cancel();
    // Quiet work that someone now waits for shows its progress dialog after all, kShowAfterMs from now.
    void ShowProgress();
    // Runs the event loop until the work has ended and its end was delivered: for quitting, and tests.
    void Wait();

    // The progress dialog while it shows; null before kShowAfterMs and after the end.
    QProgressDialog* Dialog() const { return mDialog; }

signals:
    // The work has ended and its done has run.
    void Finished();
    // Now and then while the work runs: the steps done and all (0 while not known).
    void Progressed(std::size_t done, std::size_t total);

private:
    void Poll();
    void ShowDialog();
    void Deliver();
    // The label with the count under it, and that the work is stopping.
    QString DialogText() const;

    QWidget* mOwner;
    const Feedback mMadeFeedback; // as made
    Feedback mFeedback;           // for the work running
    QString mLabel;
    QString mCountFormat;
    bool mStopping = false; // Cancel was asked for
    QTimer* mPoll;
    QProgressDialog* mDialog = nullptr;
    std::thread mThread;
    std::function<void(const WorkEnd&)> mDone;
    // Shared with the worker thread.
    struct Shared {
        std::atomic<std::size_t> done{0};
        std::atomic<std::size_t> total{0};
        std::atomic<bool> stop{false};
        std::atomic<bool> ended{false};
        WorkEnd end; // written by the worker before `ended`
    };
    std::shared_ptr<Shared> mShared;
    QElapsedTimer mClock; // since Start
};

// Lets go of held on a thread of Qt's pool, and gives what that frees back to the system, so that freeing
// a large structure (a build of the library index, the browser's tree) does not hold up the window.
void ReleaseInBackground(std::shared_ptr<const void> held);

} // namespace pw
