#pragma once
#include "data/data_module.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace livros::testing {

// The source tree (db/ scripts, rpt/ project files), from LIVROS_SOURCE_DIR.
QString sourceDir();

// A fresh installation in a temporary folder that is program folder and suite folder at once:
// QUILMARA_HOME and the program folder point at it, QUILMARA.INI names no server (the embedded
// engine), dados/quilmara.bd and interfac/quilmara.bd are created from db/main.sql and
// db/interface.sql. One per test group (creating the two databases costs about half a second).
class EmbeddedSuite {
public:
    EmbeddedSuite();
    virtual ~EmbeddedSuite();

    QString folder() const;              // ends in '/'
    QString mainDatabasePath() const;
    QString interfaceDatabasePath() const;

    // Runs statements on the main or the interface database through a connection of its own
    // (committed at once), for setting up and checking rows without the data module.
    void execMain(const QString& sql);
    void execInterface(const QString& sql);
    // Runs many statements in one transaction, all or nothing (bulk test data).
    void loadMain(const QStringList& statements);
    void loadInterface(const QStringList& statements);
    // Single value of a query on the main database, as text ("" for null).
    QString scalarMain(const QString& sql);
    QString scalarInterface(const QString& sql);
    // All rows of a query, each row its columns' text joined by '|'.
    // Text of a cell: NULL for null, dates as yyyy-mm-dd, numbers in the shortest C-locale form
    // (15, 1.2346), text as stored (fixed-length text with its blanks).
    QStringList rowsMain(const QString& sql);
    QStringList rowsInterface(const QString& sql);

    // Writes QUILMARA.INI naming `server` ("" for none).
    void writeIni(const QString& server);
    // A data module created as the program creates it (DataModuleCreate), installed as DM.
    std::unique_ptr<data::TDM> makeDataModule();

    // Detaches the fixture's own connections (so that a test can move a database file away).
    void releaseConnections();

    // Empties every table of both databases (between tests of one group).
    void clearAllTables();

protected:
    // The database texts the fixture's own connections use: local files here, the server's
    // aliases in ServerSuite (the engine must not open a file that a server holds).
    virtual QString mainConnectionText() const;
    virtual QString interfaceConnectionText() const;

    QTemporaryDir m_dir;
};

// An EmbeddedSuite whose two databases are served by a real firebird server process on the
// loopback address (a private server root on a free port); QUILMARA.INI names "127.0.0.1/<port>".
class ServerSuite : public EmbeddedSuite {
public:
    ServerSuite();
    ~ServerSuite() override;
    QString serverAddress() const;  // "127.0.0.1/<port>"
    QString serverProgram() const;  // the firebird server program it runs
    void stopServer();     // SIGTERM and wait
    void killServer();     // SIGKILL
    void startServer();
    bool running() const;

protected:
    QString mainConnectionText() const override;
    QString interfaceConnectionText() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace livros::testing
