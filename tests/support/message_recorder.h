#pragma once
#include "platform/user_messages.h"

#include <QStringList>
#include <functional>

namespace livros::testing {

// Records every message box, error display, beep and termination instead of showing them, and
// installs itself for its lifetime. terminate() returns, so the caller's ProgramTerminated follows.
class MessageRecorder : public UserMessages {
public:
    MessageRecorder();
    ~MessageRecorder() override;
    void inform(const QString& text) override;
    void showError(const QString& text) override;
    void beep() override { ++beeps; }
    void terminate(int exitCode) override { terminations.append(exitCode); }

    // Every message in order: "info: ..." or "error: ..." (the error text as the display shows it).
    QStringList all;
    QStringList infos;
    QStringList errors;
    QList<int> terminations;
    int beeps = 0;
    // Runs while a message is "shown", as a person would act on it (optional).
    std::function<void(const QString&)> onMessage;

private:
    UserMessages* m_previous;
};

} // namespace livros::testing
