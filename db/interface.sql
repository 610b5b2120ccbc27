-- Interface database of the suite: the book period record.
-- No key and no required column: the table is read and edited as one record.
CREATE TABLE PERIODO (
  DATAINICIAL DATE,
  DATAFINAL DATE,
  HORAINICIAL TIME,
  HORAFINAL TIME,
  CHAVE VARCHAR(1),
  ESTACAO VARCHAR(2),
  NPEDIDO INTEGER,
  NFORMULA INTEGER,
  VALORTOTAL NUMERIC(15,8),
  VALORTOTAL2 NUMERIC(15,8)
);
