// livros: the window program. Creates the data module, the main window and the report module,
// in that order, and runs the message loop until the main window closes.
#include "app/build_input_block.h"
#include "app/form_livros.h"
#include "app/guarded_application.h"
#include "app/handler_guard.h"
#include "app/program_info.h"
#include "app/qt_translations.h"
#include "app/qt_user_messages.h"
#include "app/termination_signals.h"
#include "data/data_module.h"
#include "platform/runtime_dir.h"
#include "report/report_module.h"

#include <QApplication>
#include <cstdio>

using namespace livros;

namespace {

int runWindowProgram(app::GuardedApplication& application);

} // namespace

int main(int argc, char** argv)
{
    if (const auto info = app::programInfoText(argc, argv)) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    prepareRuntimeDirectory();
    app::GuardedApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(app::kProgramTitle));
    app::loadQtTranslations(application);
    app::QtUserMessages messages;
    setUserMessages(&messages);
    try {
        return runWindowProgram(application);
    } catch (const ProgramTerminated& end) {
        return end.exitCode;
    } catch (...) {
        // An error of the start-up or of the end: said, and the program ends with exit 1.
        app::showCaughtError();
        return 1;
    }
}

namespace {

int runWindowProgram(app::GuardedApplication& application)
{
    // A request to end from outside (logging out, kill) closes the main window and ends the
    // program. Installed before the databases are opened, so that no moment of the start-up is
    // left to the default handling (cut off in the middle of an attachment) or to the database
    // client's (which would leave the program running without its engine). A request made while
    // a start-up message is open ends the program once that message is closed.
    app::TerminationSignals termination;
    bool endRequested = false;
    QObject::connect(&termination, &app::TerminationSignals::terminationRequested, &application, [&endRequested] {
        endRequested = true;
        app::BuildInputBlock::requestStop(); // a build running stops at its next step, rolled back
        if (app::FormLivros)
            app::FormLivros->close();
        QCoreApplication::exit(0);
    });

    // A missing QUILMARA.INI ends the program here, before any window exists.
    data::TDM dataModule;
    data::DM = &dataModule;
    dataModule.DataModuleCreate();

    app::TFormLivros form(dataModule, app::runModeFromArguments(QApplication::arguments()));
    app::FormLivros = &form;

    report::TRM reportModule(dataModule);
    report::RM = &reportModule;

    // Closing the main window ends the program, whatever other window of it is left (a preview,
    // a message box).
    QObject::connect(&form, &app::TFormLivros::closed, &application, [] { QCoreApplication::exit(0); });

    int result = 0;
    if (!endRequested) {
        form.show();
        result = QApplication::exec();
    }
    report::RM = nullptr;
    app::FormLivros = nullptr;
    return result;
}

} // namespace
