// The window's rules that need no widget: run mode (and --version, --help), CNPJ texts, the date mask's text, the
// activation rule and the revised book's report selection.
#include "app/activation_rule.h"
#include "app/book_reports.h"
#include "app/build_input_block.h"
#include "app/handler_guard.h"
#include "app/termination_signals.h"
#include "book/classic/movement_source.h"
#include "message_recorder.h"
#include "app/masked_date_text.h"
#include "app/pie_gauge.h"
#include "app/program_info.h"
#include "app/qt_translations.h"
#include "app/qt_user_messages.h"
#include "app/run_mode.h"
#include "app/store_texts.h"
#include "platform/program_version.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <ostream>

#include "qt_test_print.h"

using namespace livros::app;

TEST(RunModeTest, FirstArgumentComparedWholeAndWithCase)
{
    EXPECT_EQ(runModeFromArguments({"livros"}), RunMode::Classic);
    EXPECT_EQ(runModeFromArguments({"livros", "DROGARIA"}), RunMode::Drogaria);
    EXPECT_EQ(runModeFromArguments({"livros", "drogaria"}), RunMode::Classic);
    EXPECT_EQ(runModeFromArguments({"livros", "DROGARIA "}), RunMode::Classic);
    EXPECT_EQ(runModeFromArguments({"livros", "SIPROQUIM", "DROGARIAVIEW"}), RunMode::Siproquim);
    EXPECT_EQ(runModeFromArguments({"livros", "", "SIPROQUIM"}), RunMode::Classic);
    EXPECT_EQ(runModeFromArguments({"livros", "INSUMOSCOMPLETOVIEW"}), RunMode::InsumosCompletoView);
    EXPECT_TRUE(isRevisedMode(RunMode::InsumosCompleto));
    EXPECT_FALSE(isRevisedMode(RunMode::DrogariaView));
    EXPECT_TRUE(isViewOnlyMode(RunMode::SiproquimView));
    EXPECT_FALSE(isViewOnlyMode(RunMode::Classic));
}

TEST(RunModeTest, VersionAndHelpOnlyAsTheWholeFirstArgument)
{
    const char* version[] = {"livros", "--version"};
    EXPECT_EQ(programInfoText(2, version), std::string("livros ") + livros::kProgramVersion + "\n");
    const char* help[] = {"livros", "--help"};
    ASSERT_TRUE(programInfoText(2, help).has_value());
    EXPECT_NE(programInfoText(2, help)->find("INSUMOSCOMPLETOVIEW"), std::string::npos);
    const char* none[] = {"livros"};
    EXPECT_FALSE(programInfoText(1, none).has_value());
    const char* mode[] = {"livros", "DROGARIA", "--version"};
    EXPECT_FALSE(programInfoText(3, mode).has_value());
    const char* near[] = {"livros", "--VERSION"};
    EXPECT_FALSE(programInfoText(2, near).has_value());
}

TEST(StoreTextTest, FormatCnpjCutsByPositionWhateverTheText)
{
    EXPECT_EQ(FormatCnpj("11222333000181"), QString("11.222.333/0001-81"));
    EXPECT_EQ(FormatCnpj(""), QString("../-"));
    EXPECT_EQ(FormatCnpj("1122"), QString("11.22./-"));
    EXPECT_EQ(FormatCnpj("112223330001819999"), QString("11.222.333/0001-81"));
    EXPECT_EQ(FormatCnpj("AB CD"), QString("AB. CD./-"));
}

TEST(StoreTextTest, StoreEntryGivesBackTheDigits)
{
    EXPECT_EQ(cnpjFromStoreEntry("11.222.333/0001-81"), QString("11222333000181"));
    EXPECT_EQ(cnpjFromStoreEntry(FormatCnpj("44555666000199")), QString("44555666000199"));
    EXPECT_EQ(cnpjFromStoreEntry("7"), QString("7"));
    EXPECT_EQ(cnpjFromStoreEntry(""), QString(""));
    EXPECT_EQ(cnpjFromStoreEntry("1234567890123456789012345"), QString("12456890234578"));
    EXPECT_EQ(storeCnpjOf("1234567890123456789"), QString("123456789012345678"));
}

TEST(MaskedDateTest, TextKeepsBlanksAndFixedSlashes)
{
    EXPECT_EQ(masked_date::emptyText(), QString("  /  /  "));
    EXPECT_EQ(masked_date::fromDisplay("__/__/__"), QString("  /  /  "));
    EXPECT_EQ(masked_date::fromDisplay("01/05/24"), QString("01/05/24"));
    EXPECT_EQ(masked_date::fromDisplay("1_/_5/2_"), QString("1 / 5/2 "));
    EXPECT_EQ(masked_date::fromDisplay(""), QString("  /  /  "));
    EXPECT_EQ(masked_date::fromDisplay("//"), QString("  /  /  "));
    EXPECT_TRUE(masked_date::yearTyped("  /  /24"));
    EXPECT_FALSE(masked_date::yearTyped("01/05/2 "));
    EXPECT_FALSE(masked_date::yearTyped("01/05/ 4"));
    EXPECT_FALSE(masked_date::yearTyped("01/05"));
    EXPECT_TRUE(masked_date::isEmpty("__/__/__"));
    EXPECT_FALSE(masked_date::isEmpty("  /  /2 "));
}

TEST(ActivationRuleTest, FirstShowAndOwnWindowsOnly)
{
    using R = ActivationRule::FocusReturn;
    ActivationRule rule;
    EXPECT_FALSE(rule.activates(R::OwnWindowGone)); // not shown yet
    EXPECT_FALSE(rule.activates(R::ModalWindowClosed));
    EXPECT_TRUE(rule.activates(R::FirstShow));
    EXPECT_FALSE(rule.activates(R::FirstShow));
    EXPECT_TRUE(rule.activates(R::OwnWindowGone));
    EXPECT_TRUE(rule.activates(R::OwnWindowGone));
    EXPECT_FALSE(rule.activates(R::ModalWindowClosed));
    EXPECT_FALSE(rule.activates(R::OtherApplication));
    {
        ActivationRule::Running running(rule);
        EXPECT_TRUE(rule.running());
        EXPECT_FALSE(rule.activates(R::OwnWindowGone));
    }
    EXPECT_FALSE(rule.running());
    EXPECT_TRUE(rule.activates(R::OwnWindowGone));
}

TEST(BookReportTest, RevisedSelectionAndProjectFilePerMode)
{
    using livros::revised::RevisedMode;
    const QString head = "select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, DCB, "
                         "COMPONENTE, PERIODO, CONTEXTO, CODIGO, LISTA, CNPJ, ORDEM, (select first 1 LABORATORIO from TABLAB "
                         "where TABLAB.LOJA = LIVROREVCONTR.CNPJ) LABORATORIO from LIVROREVCONTR where ";
    EXPECT_EQ(revisedBookSelection(RevisedMode::Drogaria, "O'X"),
              head + modeLinesCondition(RevisedMode::Drogaria) + " AND CNPJ = 'O''X'");
    EXPECT_EQ(revisedProjectFile(RevisedMode::Siproquim), QString("rpt\\RelPF.rav"));
    EXPECT_EQ(revisedProjectFile(RevisedMode::Drogaria), QString("rpt\\RelLivrosRev.rav"));
    EXPECT_EQ(revisedBookOf(RunMode::DrogariaView), RevisedMode::Drogaria);
    EXPECT_EQ(revisedBookOf(RunMode::SiproquimView), RevisedMode::Siproquim);
    EXPECT_EQ(revisedBookOf(RunMode::InsumosCompleto), RevisedMode::InsumosCompleto);
    EXPECT_FALSE(revisedBookOf(RunMode::Classic).has_value());
}

TEST(PieGaugeTest, ProgressStaysInRangeAndGivesThePercentage)
{
    PieGauge gauge;
    gauge.setMinValue(0);
    gauge.setMaxValue(0);
    EXPECT_EQ(gauge.percentDone(), 0);
    gauge.setMaxValue(3);
    gauge.addProgress(1);
    EXPECT_EQ(gauge.percentDone(), 33);
    gauge.addProgress(5);
    EXPECT_EQ(gauge.progress(), 3);
    EXPECT_EQ(gauge.percentDone(), 100);
    gauge.setProgress(-4);
    EXPECT_EQ(gauge.progress(), 0);
}

// A box never grows past the screen: a long text shows its start, the whole of it in the details.
TEST(MessageBoxTextTest, LongTextsGoToTheDetails)
{
    EXPECT_EQ(splitLongMessage(QStringLiteral("Falha ao buscar movimentações!")),
              std::make_pair(QStringLiteral("Falha ao buscar movimentações!"), QString()));
    const QString statement = QStringLiteral("Falha ao buscar movimentações!\n") + QStringLiteral("INSERT INTO X\n").repeated(300);
    const auto [shown, details] = splitLongMessage(statement);
    EXPECT_EQ(details, statement);
    EXPECT_LE(shown.count(QLatin1Char('\n')), 15);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Falha ao buscar movimentações!")));
}

// Qt's own dialogs speak Brazilian Portuguese on a workstation without a language of its own.
TEST(QtTranslationsTest, BrazilianPortugueseByDefault)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(loadQtTranslations(*QCoreApplication::instance(), QLocale::c()), QStringLiteral("pt_BR"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
}

// Whatever a handler lets escape is shown in Portuguese and the window goes on: errors of ours,
// a movement query's failure (no standard exception), memory exhausted, and one of no known kind.
TEST(HandlerGuardTest, NothingEscapesAHandler)
{
    livros::testing::MessageRecorder messages;
    EXPECT_FALSE(runHandler([] {
        throw livros::classic::MovementQueryFailed{livros::classic::MovementKind::Entry, QStringLiteral("do período 01/05/24 a 31/05/24"),
                                                   QStringLiteral("tabela NFISCAL inexistente"), QStringLiteral("select ...")};
    }));
    EXPECT_FALSE(runHandler([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(runHandler([] { throw 42; }));
    EXPECT_FALSE(runHandler([] { throw BuildStopped(); })); // stopped on purpose: nothing to say
    ASSERT_EQ(messages.errors.size(), 3) << messages.errors.join('\n').toStdString();
    EXPECT_EQ(messages.errors[0], QString("Não foi possível ler as movimentações do período 01/05/24 a 31/05/24: tabela NFISCAL inexistente."));
    EXPECT_EQ(messages.errors[1], QString("Memória insuficiente para concluir a operação."));
    EXPECT_TRUE(messages.errors[2].startsWith(QString("Erro inesperado")));
    EXPECT_TRUE(runHandler([] {}));
}

// A flood of termination signals never blocks the handler (its socket does not block) and leaves
// errno as the interrupted code had it; the socket is not inherited by programs started later.
TEST(TerminationSignalsTest, HandlerNeverBlocksAndKeepsErrno)
{
    EXPECT_EXIT(
        {
            TerminationSignals handler;
            for (int i = 0; i < 20000; ++i)
                std::raise(SIGTERM); // fills the socket long before the end
            errno = EDOM;
            std::raise(SIGTERM);
            const int after = errno;
            bool cloexec = true;
            for (int fd = 3; fd < 64; ++fd) {
                struct stat info {};
                if (::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode) && !(::fcntl(fd, F_GETFD) & FD_CLOEXEC))
                    cloexec = false;
            }
            std::_Exit(after != EDOM ? 2 : cloexec ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
