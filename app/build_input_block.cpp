#include "app/build_input_block.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

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
} // namespace

BuildInputBlock::BuildInputBlock(QWidget& window) : m_window(window)
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

void BuildInputBlock::requestStop()
{
    if (g_current)
        g_current->m_stop = true;
}

void BuildInputBlock::processEvents()
{
    QCoreApplication::processEvents();
    if (g_current && g_current->m_stop)
        throw BuildStopped();
}

bool BuildInputBlock::eventFilter(QObject* watched, QEvent* event)
{
    if (!isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    // Only the main window's own controls: a message box or a preview is a window of its own.
    if (static_cast<QWidget*>(watched)->window() != &m_window)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        m_stop = true;
    return true;
}

} // namespace livros::app
