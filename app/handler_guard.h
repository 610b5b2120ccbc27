#pragma once
#include <QString>

#include <functional>
#include <stdexcept>

namespace livros::app {

// The date conversion error of a text that is no date: "'<text>' não é uma data válida".
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

ConvertError invalidDateError(const QString& text);

// Runs an event handler and shows an error it does not catch (database, file, date conversion,
// report engine) in the standard error display; the handler ends there and the program goes on.
// Returns false when the handler ended that way.
bool runHandler(const std::function<void()>& handler);

// Shows the error being handled (inside a catch block) in the standard error display, in
// Portuguese whatever its kind: ours, the standard library's (memory exhausted) or one of no
// known kind. The program goes on.
void showCaughtError();

} // namespace livros::app
