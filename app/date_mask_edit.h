#pragma once
#include <QLineEdit>

namespace livros::app {

// A date edit with the mask "!99/99/00;1;_" (see masked_date_text.h), with the behaviour of the
// period panel's edits:
// - entering (focus arriving from another control) and leaving (focus moving to another control,
//   or the edit's panel hidden while it has the focus) are reported once each; focus lost to
//   another window or to a popup, or the window closing, is neither;
// - Esc restores the text the edit had when it was entered if the user has changed it since, and
//   is left to the window otherwise (the panel's cancel button);
// - leaving an edit whose text the user changed but whose year is incomplete is refused: a beep,
//   "Valor de entrada inválido. Use a tecla Esc para abandonar as alterações" in the standard error display, the
//   focus back in the edit (a click that tried to leave it does nothing) and no leave reported;
// - Enter is reported and consumed.
class DateMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateMaskEdit(QWidget* parent = nullptr);

    // The edit's text, always eight characters: "  /  /  " when empty, e.g. "01/05/24".
    QString maskText() const;
    // Sets the text as the program does (not a change of the user); it is the text that Esc
    // restores from then on.
    void setMaskText(const QString& text);

    // Whether the user has changed the text since the edit was entered.
    bool changedByUser() const;
    bool isEntered() const { return m_entered; }

    // Moves the focus to the next control in tab order, as leaving by Tab does.
    void moveToNextControl();

    static QString invalidInputMessage();

signals:
    void enterEdit();
    void exitEdit();
    void returnKeyPressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The focus moved to another control, or the edit's panel was hidden with the focus in it.
    void leave(Qt::FocusReason reason);
    void refuseLeave(Qt::FocusReason reason);

    QString m_entryText;
    bool m_entered = false;
    bool m_swallowingClick = false;
};

} // namespace livros::app
