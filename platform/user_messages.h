#pragma once
#include <QString>
#include <stdexcept>

namespace livros {

// Every message box, the standard error display and the program's termination go through
// this interface: the window shows them, the command-line tool prints them, tests read them.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A modal information box with a fixed text (expected conditions: bad date, no inventory...).
    virtual void inform(const QString& text) = 0;
    // The standard error display: program title as caption, error icon, text ending in a period.
    virtual void showError(const QString& text) = 0;
    // An information box whose long part (a statement, a listing) is shown apart, on demand and
    // scrollable. By default the two texts one after the other.
    virtual void informWithDetails(const QString& text, const QString& details) { inform(text + u'\n' + details); }
    virtual void beep() = 0;
    // Ends the program at once with the exit code; may return only in tests.
    virtual void terminate(int exitCode) = 0;
};

// Thrown after terminate() returns (tests), so that the code that asked for the end stops there.
struct ProgramTerminated : std::runtime_error {
    explicit ProgramTerminated(int code) : std::runtime_error("program terminated"), exitCode(code) {}
    int exitCode;
};

UserMessages& userMessages();
// Installs a sink; returns the previous one. Not owned.
UserMessages* setUserMessages(UserMessages* sink);

// The text of the standard error display: a final period is added when the text lacks one.
QString errorDisplayText(const QString& text);

inline void showStandardError(const QString& text) { userMessages().showError(text); }
[[noreturn]] void terminateProgram(int exitCode);

// Writes messages to standard error; what the command-line tool uses. A carriage return inside
// a message is written as a line break.
class StderrMessages : public UserMessages {
public:
    void inform(const QString& text) override;
    void showError(const QString& text) override;
    void beep() override {}
    void terminate(int exitCode) override;
};

} // namespace livros
