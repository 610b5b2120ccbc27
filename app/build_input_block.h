#pragma once
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <stdexcept>

class QWidget;

namespace livros::app {

// A build stopped by the user or the system; its transaction has been rolled back and the
// previous book stays.
class BuildStopped : public std::runtime_error {
public:
    BuildStopped() : std::runtime_error("Montagem interrompida; o livro anterior foi mantido.") {}
};

// While a build runs, the window repaints but takes no action: clicks and keys meant for the
// main window are dropped, so nothing can start inside the build's transaction or use the data
// module's shared queries meanwhile. The work runs on a thread of its own (run()) while the window's
// thread keeps its event loop turning, so that Esc, closing the window and a termination signal
// are seen at once: they stop the statement in progress (`cancelRunning`), and the build, rolled
// back, ends with BuildStopped. Message boxes and previews, windows of their own, work as usual.
class BuildInputBlock : public QObject {
public:
    // How a stop asks the window to go on: back to the window (Esc), or closing it.
    enum class Stop { None, BackToWindow, Close };

    BuildInputBlock(QWidget& window, std::function<void()> cancelRunning);
    ~BuildInputBlock() override;
    BuildInputBlock(const BuildInputBlock&) = delete;
    BuildInputBlock& operator=(const BuildInputBlock&) = delete;

    // Whether a build is running now.
    static bool active();
    // Asks the running build to stop (nothing happens without one); a request to close wins
    // over one to go back to the window.
    static void requestStop(Stop how = Stop::Close);
    Stop stopRequested() const { return m_stop.load(); }

    // Runs the work on a thread of its own and returns when it has ended, the window's events
    // processed meanwhile; rethrows what the work threw (BuildStopped once a stop was asked for).
    void run(const std::function<void()>& work);

    // Between two steps of the work: on the window's thread lets it repaint and see Esc and
    // closing; throws BuildStopped when a stop was asked for.
    static void processEvents();

    // Runs a call that touches the window on the window's thread, the work's thread waiting for
    // it; what it throws is rethrown here. After a stop, throws BuildStopped instead: a stopped
    // build shows nothing more.
    static void onWindowThread(const std::function<void()>& call);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    std::function<void()> m_cancelRunning;
    std::atomic<Stop> m_stop {Stop::None};
};

} // namespace livros::app
