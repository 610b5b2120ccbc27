// The demo's books as text, for a comparison between Firebird engines: every book line, map and
// form of the three stores, built on this machine's engine from the same data and periods. The
// text is written to LIVROS_ENGINE_BOOKS_OUT (default engine-books.txt in the working folder);
// when LIVROS_ENGINE_BOOKS_OTHER names the text another engine wrote, the two must be equal.
// scripts/fresh-debian.sh sets it with the text of the fresh root's engine.
#include "book/classic/component_lists.h"
#include "book/revised/movement_statement.h"
#include "book/revised/revised_book_builder.h"
#include "cli/demo_data.h"
#include "data/data_module.h"
#include "firebird_fixture.h"
#include "forms/balance_form.h"
#include "forms/form_csv.h"
#include "forms/form_period.h"
#include "platform/date_text.h"
#include "recording_revised_view.h"
#include "siproquim/month_map_file.h"
#include "tests/classic/classic_test_view.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace livros;

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(EngineBooks, DemoBooksAreTheSameOnEveryEngine)
{
    livros::testing::EmbeddedSuite suite;
    cli::DemoOptions options;
    options.firstDay = QDate(2025, 1, 1); // a fixed year: the data is the same on every machine and day
    const cli::DemoData demo = cli::generateDemoData(options);
    suite.loadMain(demo.mainStatements);
    suite.loadInterface(demo.interfaceStatements);
    const auto dm = suite.makeDataModule();
    const classic::ComponentLists lists = classic::loadComponentLists(*dm);
    const QDate yearStart = options.firstDay;
    const QDate yearEnd = demo.periodEnd;

    QStringList text;
    for (const QString& store : demo.storeCnpjs) {
        for (int group = 1; group <= classic::kListGroupCount; ++group) {
            const QString failure = classic::testing::buildClassicGroup(*dm, lists, store, demo.periodStart, demo.periodEnd, group);
            ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
            text << QStringLiteral("== %1 classic group %2").arg(store).arg(group);
            text << suite.rowsMain(QStringLiteral(
                "select CNPJ, DCB, ESTOQUEINICIAL, LIVRO, LINHA, DATA, HISTORICO, MOVIMENTO, SALDO, OBSERVACOES, "
                "CODIGO, COMPONENTE, PERIODO, UNID from LIVROCONTR order by ID"));
        }
        for (const auto mode : {revised::RevisedMode::Drogaria, revised::RevisedMode::InsumosCompleto,
                                revised::RevisedMode::Siproquim}) {
            for (const QDate& from : {demo.periodStart, yearStart}) {
                livros::testing::RecordingRevisedView view;
                const revised::RevisedBuildResult built = revised::RevisedBookBuilder(*dm, view).build(mode, store, from, yearEnd);
                ASSERT_EQ(built.outcome, revised::RevisedBuildOutcome::Built) << built.failureReason.toStdString();
                text << QStringLiteral("== %1 %2 from %3").arg(store, revised::keyword(mode), dateText(from));
                text << suite.rowsMain(QStringLiteral(
                    "select CODIGO, ORDEM, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, CONTEXTO, ESTOQUE, OBSERVACAO, "
                    "REGMSMEDICAM, DCB, COMPONENTE, PERIODO, LISTA from LIVROREVCONTR where CNPJ = '%1' "
                    "order by CODIGO, ORDEM").arg(store));
            }
        }
        QTemporaryDir maps;
        const siproquim::MapFileResult map =
            siproquim::writeMonthMap(*dm, store, {demo.periodEnd.year(), demo.periodEnd.month()}, maps.path());
        ASSERT_FALSE(map.path.isEmpty()) << map.problems.join(u'\n').toStdString() << map.refusal.toStdString();
        text << QStringLiteral("== %1 SIPROQUIM map").arg(store) << readText(map.path);
        const auto year = forms::yearPeriod(QString::number(yearEnd.year()));
        ASSERT_TRUE(year);
        for (const auto form : {forms::PeriodicForm::Bspo, forms::PeriodicForm::Bmpo}) {
            const forms::BalanceForm balance = forms::buildBalance(*dm, form, store, *year);
            text << QStringLiteral("== %1 balance %2").arg(store, forms::formKeyword(form))
                 << QString::fromUtf8(forms::balanceCsv(balance));
        }
    }
    // Every store's books have lines: an engine that read nothing would agree with nothing.
    EXPECT_GT(text.size(), 1000);

    const QString outPath = qEnvironmentVariableIsSet("LIVROS_ENGINE_BOOKS_OUT")
                                ? qEnvironmentVariable("LIVROS_ENGINE_BOOKS_OUT")
                                : QDir::current().filePath(QStringLiteral("engine-books.txt"));
    QFile out(outPath);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << outPath.toStdString();
    const QString mine = text.join(u'\n') + u'\n';
    out.write(mine.toUtf8());
    out.close();

    const QString otherPath = qEnvironmentVariable("LIVROS_ENGINE_BOOKS_OTHER");
    if (otherPath.isEmpty())
        return;
    QFile otherFile(otherPath);
    ASSERT_TRUE(otherFile.open(QIODevice::ReadOnly)) << "no text of the other engine at " << otherPath.toStdString();
    const QStringList other = QString::fromUtf8(otherFile.readAll()).split(u'\n');
    const QStringList lines = mine.split(u'\n');
    int differing = 0;
    QString first;
    for (qsizetype i = 0; i < std::max(lines.size(), other.size()); ++i) {
        const QString a = lines.value(i, QStringLiteral("(none)"));
        const QString b = other.value(i, QStringLiteral("(none)"));
        if (a == b)
            continue;
        if (++differing == 1)
            first = QStringLiteral("line %1:\n  here:  %2\n  other: %3").arg(i + 1).arg(a, b);
    }
    EXPECT_EQ(differing, 0) << differing << " lines differ from " << otherPath.toStdString() << "; first at "
                            << first.toStdString();
}
