/* A small employee table for the client dataset tests. */
create table FUNC (
  CODIGO_FU char(3) not null primary key,
  CRACHA_FU varchar(10),
  NOME_FU varchar(30),
  SETOR_FU char(2),
  ATIVO_FU char(1) default 'S',
  QTDE_FU numeric(15,3),
  ADMISSAO_FU timestamp
);
commit;
