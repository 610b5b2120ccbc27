#pragma once
#include "platform/user_messages.h"

namespace livros::app {

// The program's title: the caption of every message box.
inline constexpr char kProgramTitle[] = "Livros";

// Message boxes of the window program: modal, over the active window, captioned with the
// program's title; the standard error display carries the error icon.
class QtUserMessages : public UserMessages {
public:
    void inform(const QString& text) override;
    void showError(const QString& text) override;
    void beep() override;
    void terminate(int exitCode) override;
};

// A message's line breaks as a message box shows them: carriage returns become line feeds.
QString messageBoxText(const QString& text);

} // namespace livros::app
