#pragma once
#include <QObject>
#include <QString>

#include <stdexcept>

class QWidget;

namespace livros::app {

// A build stopped by the user or the system between two of its steps; its transaction has been
// rolled back and the previous book stays.
class BuildStopped : public std::runtime_error {
public:
    BuildStopped() : std::runtime_error("Montagem interrompida; o livro anterior foi mantido.") {}
};

// While a build runs on the window's thread, the window lets it repaint between steps but takes
// no action: clicks and keys meant for the main window are dropped, so nothing can start inside
// the build's transaction or use the data module's shared queries meanwhile. Esc, closing the
// window and a termination signal ask the build to stop: at its next step it throws BuildStopped,
// which rolls it back. Message boxes and previews, windows of their own, work as usual.
class BuildInputBlock : public QObject {
public:
    explicit BuildInputBlock(QWidget& window);
    ~BuildInputBlock() override;
    BuildInputBlock(const BuildInputBlock&) = delete;
    BuildInputBlock& operator=(const BuildInputBlock&) = delete;

    // Whether a build is running now.
    static bool active();
    // Asks the running build to stop (nothing happens without one).
    static void requestStop();
    bool stopRequested() const { return m_stop; }

    // Between two steps of the work: lets the window repaint and see Esc and closing; throws
    // BuildStopped when a stop was asked for.
    static void processEvents();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    bool m_stop = false;
};

} // namespace livros::app
