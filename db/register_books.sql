-- Livros' own record of the bound register books, in the interface database (beside PERIODO).
-- Created by the program the first time a book is opened, issued, closed or listed; the suite's
-- own tables are never altered.

-- One row per register book of a store: a list group of the classic book (CLASSIC1..CLASSIC4)
-- or a revised book (DROGARIA, INSUMOSCOMPLETO, SIPROQUIM). NUMERO counts the books of that kind
-- from 1; a closed book (ENCERRAMENTO set) takes no more sheets and the next issue opens the next.
CREATE TABLE LIVROS_LIVRO (
  ID INTEGER NOT NULL PRIMARY KEY,
  CNPJ VARCHAR(18) NOT NULL,
  LIVRO VARCHAR(20) NOT NULL,
  NUMERO INTEGER NOT NULL,
  FOLHAINICIAL INTEGER NOT NULL,
  FOLHASAUTORIZADAS INTEGER NOT NULL,
  FOLHASEMITIDAS INTEGER DEFAULT 0 NOT NULL,
  ABERTURA DATE NOT NULL,
  ENCERRAMENTO DATE,
  CONSTRAINT UQ_LIVROS_LIVRO UNIQUE (CNPJ, LIVRO, NUMERO)
);

-- One row per period issued on a book's sheets: the sheets it took, the archived PDF file,
-- its SHA-256 and size in bytes, against which the archive is checked. Two issues can never take the same first sheet of a book.
CREATE TABLE LIVROS_EMISSAO (
  ID INTEGER NOT NULL PRIMARY KEY,
  LIVROID INTEGER NOT NULL,
  DATAINICIAL DATE NOT NULL,
  DATAFINAL DATE NOT NULL,
  FOLHAINICIAL INTEGER NOT NULL,
  FOLHAFINAL INTEGER NOT NULL,
  ARQUIVO VARCHAR(500) NOT NULL,
  SHA256 CHAR(64) NOT NULL,
  TAMANHO BIGINT,
  EMITIDOEM TIMESTAMP DEFAULT CURRENT_TIMESTAMP NOT NULL,
  CONSTRAINT UQ_LIVROS_EMISSAO_FOLHA UNIQUE (LIVROID, FOLHAINICIAL)
);

CREATE SEQUENCE LIVROS_ID;
