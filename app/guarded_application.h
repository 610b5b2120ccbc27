#pragma once
#include <QApplication>

namespace livros::app {

// The window program's application: an error that an event handler lets escape is shown in the
// standard error display and the event loop goes on, so the window stays usable instead of the
// program aborting without a word.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace livros::app
