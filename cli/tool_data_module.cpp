#include "cli/tool_data_module.h"

#include "data/data_module.h"
#include "data/startup.h"
#include "platform/cp1252.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace livros::cli {

namespace {

// Passes every message on and notes whether an error was shown or the end was asked for.
class WatchingMessages : public UserMessages {
public:
    WatchingMessages() : m_previous(setUserMessages(this)) {}
    ~WatchingMessages() override { setUserMessages(m_previous); }
    void inform(const QString& text) override { m_previous->inform(text); }
    void showError(const QString& text) override
    {
        failed = true;
        m_previous->showError(text);
    }
    void beep() override {}
    // Returning makes terminateProgram throw ProgramTerminated, caught below.
    void terminate(int) override { failed = true; }

    bool failed = false;

private:
    UserMessages* m_previous;
};

} // namespace

QString serverLineNote(const QString& iniPath, const QByteArray& contents)
{
    if (!data::serverAddressFromIni(contents).isEmpty())
        return {};
    static const QByteArray key(data::kServerKey);
    const QString where = QDir::toNativeSeparators(iniPath);
    const QString local = QStringLiteral("usando os bancos locais da pasta da suíte (%1) com o Firebird embutido")
                              .arg(QDir::toNativeSeparators(suiteRoot()));
    const QList<QByteArray> lines = data::textFileLines(contents);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray& line = lines.at(n);
        if (line.startsWith(key))
            return {}; // the key with no value: the embedded default, chosen on purpose
        // The start of the key written another way: dots, letter case, blanks.
        const QByteArray words = line.simplified().toUpper();
        if (words.startsWith("IP DO SERVIDOR") || words.startsWith("IP  DO"))
            return QStringLiteral("%1: a linha %2 (\"%3\") não é a chave \"%4\" escrita exatamente (48 caracteres, "
                                  "maiúsculas, 25 pontos e dois-pontos) e foi ignorada; %5.")
                .arg(where).arg(n + 1).arg(fromCp1252(line.left(60)).trimmed(), QString::fromLatin1(key), local);
    }
    return QStringLiteral("%1 não tem a linha \"%2\"; %3.").arg(where, QString::fromLatin1(key), local);
}

std::unique_ptr<data::TDM> createToolDataModule()
{
    auto dm = std::make_unique<data::TDM>();
    data::DM = dm.get();
    WatchingMessages watch;
    try {
        dm->DataModuleCreate();
    } catch (const ProgramTerminated&) {
        // QUILMARA.INI is missing: its message is out; for a script that is a failure.
    }
    if (watch.failed) {
        data::DM = nullptr;
        return nullptr;
    }
    if (dm->centralServerAddress().isEmpty()) {
        const QString ini = localPath(programFolder() + QStringLiteral("QUILMARA.INI"));
        QFile file(ini);
        if (file.open(QIODevice::ReadOnly))
            userMessages().inform(serverLineNote(QFileInfo(ini).absoluteFilePath(), file.readAll()));
    }
    return dm;
}

} // namespace livros::cli
