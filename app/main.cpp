// livros: the window program. Creates the data module, the main window and the report module,
// in that order, and runs the message loop until the main window closes.
#include "app/form_livros.h"
#include "app/program_info.h"
#include "app/qt_user_messages.h"
#include "data/data_module.h"
#include "report/report_module.h"

#include <QApplication>
#include <cstdio>

using namespace livros;

int main(int argc, char** argv)
{
    if (const auto info = app::programInfoText(argc, argv)) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(app::kProgramTitle));
    app::QtUserMessages messages;
    setUserMessages(&messages);

    // A missing QUILMARA.INI ends the program here, before any window exists.
    data::TDM dataModule;
    data::DM = &dataModule;
    dataModule.DataModuleCreate();

    app::TFormLivros form(dataModule, app::runModeFromArguments(QApplication::arguments()));
    app::FormLivros = &form;

    report::TRM reportModule(dataModule);
    report::RM = &reportModule;

    form.show();
    const int result = QApplication::exec();
    report::RM = nullptr;
    return result;
}
