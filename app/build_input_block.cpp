#include "app/build_input_block.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

#include <exception>
#include <thread>

namespace livros::app {

namespace {
BuildInputBlock* g_current = nullptr;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool onInterfaceThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

bool stopAsked() { return g_current && g_current->stopRequested() != BuildInputBlock::Stop::None; }
} // namespace

BuildInputBlock::BuildInputBlock(QWidget& window, std::function<void()> cancelRunning)
    : m_window(window), m_cancelRunning(std::move(cancelRunning))
{
    if (!g_current) {
        g_current = this;
        QCoreApplication::instance()->installEventFilter(this);
    }
}

BuildInputBlock::~BuildInputBlock()
{
    if (g_current == this) {
        QCoreApplication::instance()->removeEventFilter(this);
        g_current = nullptr;
    }
}

bool BuildInputBlock::active() { return g_current != nullptr; }

void BuildInputBlock::requestStop(Stop how)
{
    if (!g_current || how == Stop::None)
        return;
    Stop previous = g_current->m_stop.load();
    if (previous == Stop::Close)
        return;
    g_current->m_stop.store(how);
    if (previous == Stop::None && g_current->m_cancelRunning)
        g_current->m_cancelRunning(); // the statement in progress, a lock wait included, ends now
}

void BuildInputBlock::run(const std::function<void()>& work)
{
    std::exception_ptr failure;
    std::atomic<bool> finished {false};
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        // Wakes the window's thread, which may be waiting for its next event.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    // Events only, not QEventLoop::exec(): a request to end the program (QCoreApplication::exit)
    // must not leave this wait while the work still runs.
    while (!finished.load())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();
    if (!failure)
        return;
    if (m_stop.load() != Stop::None)
        throw BuildStopped(); // whatever the cancelled statement said, the stop was asked for
    std::rethrow_exception(failure);
}

void BuildInputBlock::processEvents()
{
    if (onInterfaceThread())
        QCoreApplication::processEvents();
    if (stopAsked())
        throw BuildStopped();
}

void BuildInputBlock::onWindowThread(const std::function<void()>& call)
{
    if (stopAsked())
        throw BuildStopped();
    if (onInterfaceThread()) {
        call();
        return;
    }
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

bool BuildInputBlock::eventFilter(QObject* watched, QEvent* event)
{
    if (!isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    // Only the main window's own controls: a message box or a preview is a window of its own.
    if (static_cast<QWidget*>(watched)->window() != &m_window)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        requestStop(Stop::BackToWindow);
    return true;
}

} // namespace livros::app
