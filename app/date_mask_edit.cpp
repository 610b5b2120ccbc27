#include "app/date_mask_edit.h"

#include "app/masked_date_text.h"
#include "platform/user_messages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHideEvent>
#include <QKeyEvent>

namespace livros::app {

DateMaskEdit::DateMaskEdit(QWidget* parent) : QLineEdit(parent)
{
    setInputMask(QString::fromLatin1(masked_date::kQtInputMask));
    m_entryText = maskText();
}

QString DateMaskEdit::invalidInputMessage()
{
    return QStringLiteral("Valor de entrada inválido. Use a tecla Esc para abandonar as alterações");
}

QString DateMaskEdit::maskText() const
{
    // QLineEdit::text() drops the blank positions of a mask; the shown text keeps them.
    return masked_date::fromDisplay(displayText());
}

void DateMaskEdit::setMaskText(const QString& text)
{
    const QString normalised = masked_date::fromDisplay(text);
    if (masked_date::isEmpty(normalised))
        clear();
    else
        setText(normalised);
    m_entryText = maskText();
}

bool DateMaskEdit::changedByUser() const { return maskText() != m_entryText; }

void DateMaskEdit::moveToNextControl() { focusNextPrevChild(true); }

void DateMaskEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Back from another window, or kept by a refused leave: the edit was never left.
    if (m_entered)
        return;
    m_entered = true;
    m_entryText = maskText();
    emit enterEdit();
}

void DateMaskEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    // Another window or a popup taking the focus, or the window closing, is no leave of the edit.
    if (!m_entered || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !window()->isVisible())
        return;
    leave(reason);
}

void DateMaskEdit::hideEvent(QHideEvent* event)
{
    QLineEdit::hideEvent(event);
    // Qt may leave the focus on a hidden edit when no other control can take it; hiding the
    // panel is a leave all the same.
    if (!m_entered || event->spontaneous() || !window()->isVisible() || !hasFocus())
        return;
    leave(Qt::OtherFocusReason);
    if (!m_entered && hasFocus())
        clearFocus();
}

void DateMaskEdit::leave(Qt::FocusReason reason)
{
    if (changedByUser() && !masked_date::yearTyped(maskText())) {
        refuseLeave(reason);
        return;
    }
    m_entered = false;
    emit exitEdit();
}

void DateMaskEdit::refuseLeave(Qt::FocusReason reason)
{
    // The focus has already moved (Qt tells of a leave afterwards): take it back at once, so that
    // the control it went to never sees it, and keep a click that moved it from acting.
    if (isVisible() && isEnabled()) {
        setFocus(Qt::OtherFocusReason);
        setCursorPosition(maskText().at(6) == u' ' ? 6 : 7); // at the missing year digit
        if (reason == Qt::MouseFocusReason && !m_swallowingClick) {
            m_swallowingClick = true;
            qApp->installEventFilter(this);
        }
    } else {
        // Hidden with its panel: the edit is left without its exit handling.
        m_entered = false;
    }
    userMessages().beep();
    showStandardError(invalidInputMessage());
}

bool DateMaskEdit::eventFilter(QObject* watched, QEvent* event)
{
    // The press of the click that tried to leave the edit is still on its way to the control it
    // was aimed at: it goes no further. Its release alone does nothing.
    if (m_swallowingClick && watched != this
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        m_swallowingClick = false;
        qApp->removeEventFilter(this);
        return true;
    }
    return QLineEdit::eventFilter(watched, event);
}

void DateMaskEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (changedByUser()) {
            const QString entry = m_entryText;
            setMaskText(entry);
            event->accept();
        } else {
            event->ignore(); // the window presses its cancel button
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit returnKeyPressed();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace livros::app
