#include "data/firebird_messages.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace livros::data {

namespace {

struct Translation {
    QRegularExpression english; // the whole line
    QString portuguese;         // \1, \2... the parts kept
};

Translation entry(const char* english, const char* portuguese)
{
    return {QRegularExpression(QRegularExpression::anchoredPattern(QString::fromLatin1(english))),
            QString::fromUtf8(portuguese)};
}

const QList<Translation>& translations()
{
    static const QList<Translation> all = {
        entry("Dynamic SQL Error", "Erro no comando SQL"),
        entry("SQL error code = (-?\\d+)", "código de erro SQL = \\1"),
        entry("Table unknown", "tabela desconhecida"),
        entry("Column unknown", "coluna desconhecida"),
        entry("Procedure unknown", "procedimento desconhecido"),
        entry("Function unknown", "função desconhecida"),
        entry("Token unknown - line (\\d+), column (\\d+)", "símbolo desconhecido - linha \\1, coluna \\2"),
        entry("At line (\\d+), column (\\d+)", "na linha \\1, coluna \\2"),
        entry("At block line: (\\d+), col: (\\d+)", "na linha \\1, coluna \\2 do bloco"),
        entry("Unexpected end of command - line (\\d+), column (\\d+)", "fim inesperado do comando - linha \\1, coluna \\2"),
        entry("Data type unknown", "tipo de dado desconhecido"),
        entry("unsuccessful metadata update", "a alteração da estrutura do banco de dados não foi feita"),
        entry("I/O error during \"open\" operation for file \"(.*)\"", "erro de entrada e saída ao abrir o arquivo \"\\1\""),
        entry("I/O error during \"read\" operation for file \"(.*)\"", "erro de entrada e saída ao ler o arquivo \"\\1\""),
        entry("I/O error during \"write\" operation for file \"(.*)\"", "erro de entrada e saída ao gravar o arquivo \"\\1\""),
        entry("I/O error during \"(\\w+)\" operation for file \"(.*)\"", "erro de entrada e saída (operação \"\\1\") no arquivo \"\\2\""),
        entry("Error while trying to open file", "erro ao tentar abrir o arquivo"),
        entry("Error while trying to create file", "erro ao tentar criar o arquivo"),
        entry("Error while trying to read from file", "erro ao tentar ler o arquivo"),
        entry("Error while trying to write to file", "erro ao tentar gravar no arquivo"),
        entry("No such file or directory", "arquivo ou pasta inexistente"),
        entry("Permission denied", "permissão negada"),
        entry("Is a directory", "é uma pasta"),
        entry("No space left on device", "não há espaço no disco"),
        entry("Read-only file system", "sistema de arquivos somente leitura"),
        entry("file (.*) is not a valid database", "o arquivo \\1 não é um banco de dados válido"),
        entry("Unable to complete network request to host \"(.*)\"\\.", "não foi possível completar a comunicação com o servidor \"\\1\""),
        entry("Failed to establish a connection\\.", "não foi possível estabelecer a conexão"),
        entry("Connection refused", "conexão recusada"),
        entry("Error reading data from the connection\\.", "erro ao ler dados da conexão"),
        entry("Error writing data to the connection\\.", "erro ao enviar dados pela conexão"),
        entry("connection shutdown", "conexão encerrada"),
        entry("connection lost to database", "a conexão com o banco de dados foi perdida"),
        entry("Your user name and password are not defined\\. Ask your database administrator to set up a Firebird login\\.",
              "usuário e senha não cadastrados no Firebird; peça ao administrador do banco de dados que os cadastre"),
        entry("lock conflict on no wait transaction", "conflito de bloqueio numa transação que não espera"),
        entry("lock time-out on wait transaction", "o tempo de espera por um bloqueio se esgotou"),
        entry("deadlock", "impasse entre transações (deadlock)"),
        entry("update conflicts with concurrent update", "a alteração conflita com outra alteração simultânea"),
        entry("concurrent transaction number is (\\d+)", "a transação concorrente é a de número \\1"),
        entry("operation was cancelled", "operação cancelada"),
        entry("Execution terminated by signal", "execução interrompida por um sinal"),
        entry("Cannot transliterate character between character sets",
              "não foi possível converter um caractere entre conjuntos de caracteres"),
        entry("Malformed string", "texto malformado"),
        entry("arithmetic exception, numeric overflow, or string truncation",
              "exceção aritmética, número fora do intervalo ou texto truncado"),
        entry("string right truncation", "texto maior que a coluna"),
        entry("numeric value is out of range", "número fora do intervalo da coluna"),
        entry("expected length (\\d+), actual (\\d+)", "tamanho máximo \\1, recebido \\2"),
        entry("conversion error from string \"(.*)\"", "erro de conversão do texto \"\\1\""),
        entry("violation of PRIMARY or UNIQUE KEY constraint \"(.*)\" on table \"(.*)\"",
              "violação da chave primária ou única \"\\1\" da tabela \"\\2\""),
        entry("violation of FOREIGN KEY constraint \"(.*)\" on table \"(.*)\"",
              "violação da chave estrangeira \"\\1\" da tabela \"\\2\""),
        entry("Problematic key value is (.*)", "valor da chave em conflito: \\1"),
        entry("attempt to store duplicate value \\(visible to active transactions\\) in unique index \"(.*)\"",
              "tentativa de gravar um valor repetido no índice único \"\\1\""),
        entry("validation error for column (.*), value \"(.*)\"", "erro de validação na coluna \\1, valor \"\\2\""),
        entry("attempted update of read-only database", "tentativa de alterar um banco de dados somente leitura"),
        entry("attempted update during read-only transaction", "tentativa de alteração numa transação somente leitura"),
        entry("database (.*) shutdown", "o banco de dados \\1 está desligado"),
        entry("Database is shutdown", "o banco de dados está desligado"),
        entry("invalid request BLR at offset (\\d+)", "requisição inválida na posição \\1"),
        entry("Attempt to execute an unprepared dynamic SQL statement\\.", "tentativa de executar um comando SQL não preparado"),
    };
    return all;
}

QString translatedLine(const QString& line)
{
    for (const Translation& t : translations()) {
        const QRegularExpressionMatch m = t.english.match(line);
        if (!m.hasMatch())
            continue;
        QString out = t.portuguese;
        for (int i = m.lastCapturedIndex(); i >= 1; --i)
            out.replace(QStringLiteral("\\%1").arg(i), m.captured(i));
        return out;
    }
    return line;
}

} // namespace

QString portugueseFirebirdText(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        const bool continued = line.startsWith(u'-');
        line = (continued ? QStringLiteral("-") : QString()) + translatedLine(continued ? line.mid(1) : line);
    }
    return lines.join(u'\n');
}

} // namespace livros::data
