#include "cli/cli_options.h"

#include <QRegularExpression>

namespace livros::cli {

namespace {

const QString kFolder = QStringLiteral("--folder");

bool isOption(const QString& arg) { return arg.startsWith(QLatin1String("--")) && arg.size() > 2; }

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

bool knownToAnyCommand(const QString& option, const QList<CommandSpec>& commands)
{
    for (const CommandSpec& c : commands) {
        if (c.valueOptions.contains(option) || c.flags.contains(option))
            return true;
    }
    return false;
}

const CommandSpec* findCommand(const QString& name, const QList<CommandSpec>& commands)
{
    for (const CommandSpec& c : commands) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

// The error for an option that the command does not take.
QString misplacedOption(const QString& option, const QString& command, const QList<CommandSpec>& commands)
{
    if (option == kFolder)
        return QStringLiteral("A opção --folder vem antes do comando: livros-cli --folder PASTA %1 ...").arg(command);
    if (knownToAnyCommand(option, commands))
        return QStringLiteral("A opção %1 não se aplica ao comando %2").arg(option, command);
    return QStringLiteral("Opção desconhecida: %1").arg(quoted(option));
}

} // namespace

CliOptions parseCliOptions(const QStringList& arguments, const QList<CommandSpec>& commands)
{
    CliOptions options;
    auto fail = [&options](const QString& text) {
        options.error = text;
        return options;
    };
    qsizetype i = 0;
    // Before the command: only the program folder.
    for (; i < arguments.size() && isOption(arguments.at(i)); ++i) {
        const QString& arg = arguments.at(i);
        if (arg.startsWith(kFolder + QLatin1Char('=')))
            return fail(QStringLiteral("Escreva %1 PASTA, sem \"=\": %2").arg(kFolder, quoted(arg)));
        if (arg != kFolder) {
            if (knownToAnyCommand(arg, commands) || knownToAnyCommand(arg.section(QLatin1Char('='), 0, 0), commands))
                return fail(QStringLiteral("A opção %1 vem depois do comando").arg(quoted(arg)));
            return fail(QStringLiteral("Opção desconhecida: %1").arg(quoted(arg)));
        }
        if (!options.folder.isNull())
            return fail(QStringLiteral("A opção --folder foi repetida"));
        if (i + 1 >= arguments.size() || isOption(arguments.at(i + 1)))
            return fail(QStringLiteral("A opção --folder precisa de uma pasta"));
        options.folder = arguments.at(++i);
    }
    if (i >= arguments.size())
        return fail(QStringLiteral("Falta o comando"));
    options.command = findCommand(arguments.at(i), commands);
    if (!options.command)
        return fail(QStringLiteral("Comando desconhecido: %1").arg(quoted(arguments.at(i))));
    const CommandSpec& command = *options.command;

    for (++i; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (!isOption(arg)) {
            if (options.positional.size() >= command.positionals)
                return fail(QStringLiteral("Argumento inesperado: %1").arg(quoted(arg)));
            options.positional << arg;
            continue;
        }
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        if (name != arg && (command.valueOptions.contains(name) || command.flags.contains(name)))
            return fail(QStringLiteral("Escreva a opção e o valor separados por espaço, sem \"=\": %1").arg(quoted(arg)));
        if (options.has(arg))
            return fail(QStringLiteral("A opção %1 foi repetida").arg(arg));
        if (command.flags.contains(arg)) {
            options.flags << arg;
        } else if (command.valueOptions.contains(arg)) {
            // A value may be "-" (standard output) but not another option.
            if (i + 1 >= arguments.size() || isOption(arguments.at(i + 1)))
                return fail(QStringLiteral("A opção %1 precisa de um valor").arg(arg));
            options.values.insert(arg, arguments.at(++i));
        } else {
            return fail(misplacedOption(arg, command.name, commands));
        }
    }
    if (options.positional.size() < command.positionals)
        return fail(QStringLiteral("O comando %1 precisa de %2 argumento(s) além das opções")
                        .arg(command.name)
                        .arg(command.positionals));
    return options;
}

QString fourDigitYearError(const QString& option, const QString& text)
{
    static const QRegularExpression fourDigits(QStringLiteral("^\\s*\\d{1,2}/\\d{1,2}/\\d{4}\\s*$"));
    if (!fourDigits.match(text).hasMatch())
        return {};
    return QStringLiteral("%1 %2: as datas são escritas DD/MM/AA, com o ano em dois dígitos (por exemplo %3)")
        .arg(option, quoted(text), text.trimmed().left(text.trimmed().size() - 4) + text.trimmed().right(2));
}

QString usageText()
{
    return QStringLiteral(
        "livros-cli: monta e exporta os livros de registro sem a janela.\n"
        "\n"
        "Uso: livros-cli [--folder PASTA] COMANDO [OPÇÕES]\n"
        "     livros-cli --help | --version\n"
        "\n"
        "  --folder PASTA  a pasta do programa (QUILMARA.INI, rpt/); padrão: a pasta do executável\n"
        "\n"
        "Comandos:\n"
        "  classic --group N [--cnpj CNPJ] [--from DD/MM/AA --to DD/MM/AA] [--listing ARQUIVO]\n"
        "      monta o livro clássico do grupo de listas N (1 a 4) em LIVROCONTR; a listagem vai\n"
        "      para ARQUIVO ou, sem ele ou com \"-\", para a saída padrão\n"
        "  revised --mode DROGARIA|INSUMOSCOMPLETO|SIPROQUIM [--cnpj CNPJ] [--from DD/MM/AA --to DD/MM/AA]\n"
        "      remonta o livro revisado da loja em LIVROREVCONTR\n"
        "  export --book CLASSIC|DROGARIA|INSUMOSCOMPLETO|SIPROQUIM [--cnpj CNPJ] --pdf ARQUIVO\n"
        "      gera o PDF do livro gravado (\"--pdf -\" escreve na saída padrão)\n"
        "  check [--cnpj CNPJ] [--from DD/MM/AA --to DD/MM/AA] [--pdf ARQUIVO]\n"
        "      lista as falhas dos dados que deixariam errados os livros da loja (saída 3 se houver);\n"
        "      com --pdf, o relatório impresso vai para ARQUIVO em vez do texto\n"
        "  books [--cnpj CNPJ]\n"
        "      lista os livros de registro da loja, suas folhas e os períodos emitidos\n"
        "  issue --book CLASSIC1..CLASSIC4|DROGARIA|INSUMOSCOMPLETO|SIPROQUIM [--cnpj CNPJ]\n"
        "        --from DD/MM/AA --to DD/MM/AA [--pdf ARQUIVO]\n"
        "      monta o período e o emite nas próximas folhas numeradas do livro (\"Folha N\"), guardadas\n"
        "      no arquivo Livros/emitidos/ da pasta da suíte; --pdf também o copia para ARQUIVO\n"
        "  terms --book ... [--cnpj CNPJ] --opening|--closing --pdf ARQUIVO\n"
        "      o termo de abertura ou de encerramento do livro atual da loja; o de encerramento o fecha\n"
        "  siproquim-map --month MM/AAAA [--cnpj CNPJ] [--out PASTA]\n"
        "      grava o mapa mensal SIPROQUIM da loja, M<ano><MÊS><CNPJ>.txt, em PASTA\n"
        "  siproquim-map --check ARQUIVO\n"
        "      lê um mapa SIPROQUIM e lista cada problema com sua linha e coluna\n"
        "  balance --form BSPO|BMPO --quarter T/AAAA|--year AAAA [--cnpj CNPJ] [--pdf ARQUIVO] [--csv ARQUIVO]\n"
        "      o balanço trimestral ou anual de substâncias (BSPO) ou de medicamentos (BMPO) da loja\n"
        "  notifications --form RMNRA|RMNRB2 --month MM/AAAA [--cnpj CNPJ] [--pdf ARQUIVO] [--csv ARQUIVO]\n"
        "      a relação mensal das notificações de receita A (RMNRA) ou B2 (RMNRB2) da loja\n"
        "  demo PASTA [--scale N] [--seed S] [--single-store] [--force]\n"
        "      cria em PASTA uma instalação pronta com dados de demonstração\n"
        "\n"
        "Cada opção e seu valor vão separados por espaço (--group 2, não --group=2).\n"
        "Sem --from/--to vale o período gravado em PERIODO. Sem --cnpj a loja é a de DADOSGER,\n"
        "o que exige exatamente uma loja em TABLAB.\n"
        "A pasta da suíte é QUILMARA_HOME (padrão /opt/quilmara).\n"
        "\n"
        "Códigos de saída: 0 concluído; 1 erro de banco de dados, de arquivo ou de relatório;\n"
        "2 erro de uso; 3 uma condição do livro não foi atendida (data inválida, sem inventário);\n"
        "4 uma consulta ou instrução de movimentação falhou.\n");
}

} // namespace livros::cli
