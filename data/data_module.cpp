#include "data/data_module.h"

#include "platform/bounded_file.h"

#include "data/db_error.h"
#include "data/startup.h"
#include "platform/bounded_file.h"
#include "platform/sql_literal.h"
#include "platform/suite_paths.h"
#include "platform/user_messages.h"

#include <QFile>
#include <QFileInfo>

namespace livros::data {

TDM* DM = nullptr;

namespace {
const QStringList kDadosGerColumns = {
    "CODIGOLIVRO", "CODIGOLIVROSC", "NUMEROINICIAL", "NUMEROINICIALSC", "QDEFOLHAS", "QDEFOLHASSC", "REGISTRO",
    "REGISTROSC", "FIRMA", "FARMACIA", "FARMACEUTICO", "ENDERECO", "NUMERO", "CIDADE",
    "ESTADO", "NUMEROJUNTA", "ESTADOEXT", "INSCRICAOEST", "CGC", "DIADESPACHO", "MESDESPACHO", "ANODESPACHO",
    "CID", "DIA", "MES", "ANO", "NAUTORIZACAO", "TELEFONE",
    "FAX", "EXERCICIO", "ANUALTRIMESTRAL", "TRIMESTRE", "PORTARIABSPO", "QDEFOLHASBSPO", "PREENCHIDOPORBSPO",
    "CRF_Q", "REGIAO", "DATABSPO", "CNPJ", "NLICENCA_FUNC", "SECRETARIA_SAUDE", "AUTORIDADE_SANITARIA", "CEP",
    "BAIRRO", "COMPLEMENTO"};

const QStringList kComponenColumns = {
    "CODIGO", "COMPONENTE", "GRUPO", "FAMILIA", "UNID", "CONTROLADA", "CUSTOUNITUS", "CUSTOUNITR",
    "MULTIPLICADOR", "DIVISORUNID", "PRECOUS", "PRECOR", "QDEESTOQUE", "ESTOQUECRITICO", "ESTOQUEMAXIMO",
    "TRIBUTACAO", "ICMS", "FABRICANTE", "FORNECEDOR", "LOTE", "FATORCORRECAO",
    "DENSIDADE", "USAEXCIPIENTE", "DOSAGEMMIN", "DOSAGEMMAX", "DOSEMINPERC", "DOSEMAXPERC", "FICHATECNICA",
    "EXCIPIENTE", "VALIDADE", "DCB", "LISTA", "USOCONTINUO", "VALIDADEPRODMANIP", "FATORDILUICAO", "CORCAPSULA",
    "COMISSAO", "MEQ", "GRUPOF", "TEMPOMANIP", "BC", "UNID_VENDA",
    "CUSTOFIXO", "USAR_FORMPRECO", "GRUPOS", "TIPORECEITA", "REGMSMEDICAM", "EXCIPIENTE2", "EXCIPIENTE3",
    "EXCIPIENTE4", "EXCIPIENTE5", "CLASSE", "DESCONTO", "CONDARMAZENA", "ALIQIPI", "ALIQISS", "BASEICMS",
    "SUBSTRIB", "LUCROST", "ICMSECF", "CST", "NOMECIENTIFICO", "GRUPOPRECO"};

void setFixedParams(Connection& c, const QString& designedDatabase)
{
    c.setParam(QStringLiteral("DriverName"), QStringLiteral("Interbase"));
    c.setParam(QStringLiteral("Database"), designedDatabase);
    c.setParam(QStringLiteral("RoleName"), QStringLiteral("RoleName"));
    c.setParam(QStringLiteral("User_Name"), QStringLiteral("sysdba"));
    c.setParam(QStringLiteral("Password"), QStringLiteral("vrentasko"));
    c.setParam(QStringLiteral("SQLDialect"), QStringLiteral("3"));
}

// A configuration file is a few lines: anything that is no regular file of sane size is refused
// (a device or a pipe would never end).
constexpr qint64 kLargestConfigurationFile = 1024 * 1024;

QByteArray readWholeFile(const QString& path)
{
    QByteArray contents;
    if (const QString why = readBoundedFile(path, kLargestConfigurationFile, contents); !why.isEmpty())
        throw DbError(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2").arg(QFileInfo(path).absoluteFilePath(), why));
    return contents;
}
} // namespace

// Beside the book lines: the laboratory of the line's store (TABLAB), and the catalogue unit of
// the product when it differs from the book's unit (taken from the inventory), so that the
// printed page carries the listing's notice.
namespace {
QString livroContrSelectWhere(const QString& condition)
{
    return QStringLiteral("select ID, CNPJ, DCB, ESTOQUEINICIAL, LIVRO, LINHA, DATA, HISTORICO, MOVIMENTO, SALDO, "
                          "OBSERVACOES, CODIGO, COMPONENTE, PERIODO, UNID, "
                          "(select first 1 LABORATORIO from TABLAB where TABLAB.LOJA = LIVROCONTR.CNPJ) LABORATORIO, "
                          "(select first 1 COMPONEN.UNID from COMPONEN where COMPONEN.CODIGO = LIVROCONTR.CODIGO "
                          "and COMPONEN.UNID is distinct from LIVROCONTR.UNID) UNIDCADASTRO "
                          "from LIVROCONTR ")
        + condition + QStringLiteral("order by DCB, ID");
}
} // namespace

QString livroContrSelect() { return livroContrSelectWhere(QString()); }

QString livroContrSelect(const QString& storeCnpj)
{
    // CNPJ holds the store's CNPJ as the book wrote it: cut to the column's 18 characters.
    return livroContrSelectWhere(QStringLiteral("where CNPJ = ") + sqlLiteral(storeCnpj.left(18)) + u' ');
}

QString livroRevContrDesignedSelect()
{
    return QStringLiteral("select ID, DATA, HISTORICO, LOTE, OPERACAO, QUANTIDADE, ESTOQUE, OBSERVACAO, REGMSMEDICAM, "
                          "DCB, COMPONENTE, PERIODO, CONTEXTO, CODIGO, LISTA from LIVROREVCONTR\n"
                          "WHERE REGMSMEDICAM IS NOT NULL\n"
                          "ORDER BY LISTA, REGMSMEDICAM, ID");
}

QString periodoSelect()
{
    return QStringLiteral("select DATAINICIAL, DATAFINAL, HORAINICIAL, HORAFINAL, CHAVE, ESTACAO, NPEDIDO, NFORMULA, "
                          "VALORTOTAL, VALORTOTAL2 from PERIODO");
}

QString dadosGerSelect() { return QStringLiteral("select ") + kDadosGerColumns.join(QStringLiteral(", ")) + QStringLiteral(" from DADOSGER"); }

QString componentesSelect()
{
    return QStringLiteral("select ") + kComponenColumns.join(QStringLiteral(", ")) + QStringLiteral(" from COMPONEN order by COMPONENTE");
}

TDM::TDM()
    : sqlcon1(QStringLiteral("sqlcon1"), QString()),
      sqlcon2(QStringLiteral("sqlcon2"), QStringLiteral("WIN1252")),
      SQLQuery1(sqlcon1, QStringLiteral("SQLQuery1")),
      SQLQuery2(sqlcon1, QStringLiteral("SQLQuery2")),
      LivroContr(QStringLiteral("LivroContr"), sqlcon1, livroContrSelect()),
      CDS_LivroRevContr(QStringLiteral("CDS_LivroRevContr"), sqlcon1, livroRevContrDesignedSelect()),
      Periodo(QStringLiteral("Periodo"), sqlcon2, periodoSelect()),
      DadosGer(QStringLiteral("DadosGer"), sqlcon1, dadosGerSelect()),
      Componentes(QStringLiteral("Componentes"), sqlcon1, componentesSelect())
{
    setFixedParams(sqlcon1, QStringLiteral("127.0.0.1:c:\\quilmara\\Dados\\quilmara.bd"));
    setFixedParams(sqlcon2, QStringLiteral("127.0.0.1:C:\\QUILMARA\\DADOS\\QUILMARA.BD"));
    LivroContr.setDisplayFormat(QStringLiteral("ESTOQUEINICIAL"), QStringLiteral("###,###,##0.00000"));
    LivroContr.setDisplayFormat(QStringLiteral("SALDO"), QStringLiteral("###,###,##0.00000"));
    Periodo.setUpdateTable(QStringLiteral("PERIODO"));
    Periodo.afterPost = [this] { PeriodoAfterPost(); };
}

TDM::~TDM()
{
    if (DM == this)
        DM = nullptr;
}

void TDM::DataModuleCreate()
{
    try {
        ReadConfiguration();
    } catch (const DbError& e) {
        showStandardError(e.message());
        return;
    }
    try {
        chooseClientLibrary();
    } catch (const DbError& e) {
        showStandardError(e.message());
        return;
    }
    setDatabasePaths();
}

void TDM::ReadConfiguration()
{
    const QString ini = localPath(programFolder() + QStringLiteral("QUILMARA.INI"));
    if (!QFileInfo::exists(ini)) {
        userMessages().inform(QStringLiteral("Arquivo QUILMARA.INI não encontrado. Execute o programa Kestrum.exe para criá-lo."));
        terminateProgram(0);
    }
    m_serverAddress = serverAddressFromIni(readWholeFile(ini));
}

void TDM::chooseClientLibrary()
{
    const QString pathFile = mapSuitePath(QString::fromLatin1(kConnectionPathFile));
    if (!QFileInfo::exists(pathFile))
        return;
    const QString lib = vendorLibForFolder(firstLineOfPathFile(readWholeFile(pathFile)));
    if (!lib.isEmpty())
        sqlcon1.setVendorLib(lib);
}

void TDM::setDatabasePaths()
{
    sqlcon1.close();
    sqlcon1.setParam(QStringLiteral("DataBase"), m_serverAddress + QString::fromLatin1(kMainDatabase));
    sqlcon2.close();
    sqlcon2.setParam(QStringLiteral("DataBase"), m_serverAddress + QString::fromLatin1(kInterfaceDatabase));
}

void TDM::PeriodoAfterPost()
{
    Periodo.applyUpdates();
    Periodo.refresh();
}

} // namespace livros::data
