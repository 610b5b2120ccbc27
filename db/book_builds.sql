-- What lets several workstations build the revised books of different stores at once, in the
-- main database beside LIVROREVCONTR. Created by the program the first time a revised book is
-- built; the suite's own tables are never altered.

-- One row per store whose revised book was built: a build holds its store's row (written in the
-- build's transaction) until it commits or rolls back, so a second build of the same store waits
-- for it while builds of other stores go on.
CREATE TABLE LIVROS_MONTAGEM (
  LIVRO VARCHAR(31) NOT NULL,
  CNPJ VARCHAR(18) NOT NULL,
  INICIO TIMESTAMP,
  CONSTRAINT PK_LIVROS_MONTAGEM PRIMARY KEY (LIVRO, CNPJ)
);

-- The numbers of revised book lines: every build takes its own from here, outside any
-- transaction, so two stores' builds never give out the same number.
CREATE SEQUENCE LIVROS_LIVROREVCONTR_ID;
