#pragma once
#include <QObject>

class QSocketNotifier;

namespace livros::app {

// Turns SIGTERM, SIGHUP and SIGINT (a user logging out, a terminal closing, Ctrl+C) into a Qt
// signal delivered by the event loop, so that the program closes its window and ends cleanly
// instead of being cut off in the middle of a write, or ignoring the request. (The data layer
// keeps these handlers in place when the database client would put its own there.)
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace livros::app
