#pragma once
#include "platform/user_messages.h"

#include <utility>

namespace livros::app {

// The program's title: the caption of every message box.
inline constexpr char kProgramTitle[] = "Livros";

// Message boxes of the window program: modal, over the active window, captioned with the
// program's title; the standard error display carries the error icon.
class QtUserMessages : public UserMessages {
public:
    void inform(const QString& text) override;
    void informWithDetails(const QString& text, const QString& details) override;
    void showError(const QString& text) override;
    void beep() override;
    void terminate(int exitCode) override;
};

// A message's line breaks as a message box shows them: carriage returns become line feeds.
QString messageBoxText(const QString& text);

// A text too long for a box that fits the screen is cut after its first lines; the whole text
// then goes into the box's scrollable details. Returns the shown part and the details (empty
// when the text fits).
std::pair<QString, QString> splitLongMessage(const QString& text);

} // namespace livros::app
