#pragma once
#include <QString>
#include <stdexcept>

namespace livros::report {

// An error of the report engine: a missing or invalid project file, a layout that names an
// unknown connection or field, an output file that cannot be written. Its text reaches the
// standard error display unless a caller catches it.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace livros::report
