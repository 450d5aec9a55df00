/*
  Factory management database: the tables, generators, triggers and the change-log
  procedure that the shop-floor production server reads and writes.

  Run it on an empty database whose default character set is WIN1252:
    isql-fb -q -ch WIN1252 -bail -i db/schema.sql /path/to/factory.fdb
  (db/create-database does this). The file holds no CREATE DATABASE and no CONNECT.

  Conventions of this database:
  - every column carries the abbreviation of its table (PROG_PS in PRODUCAO_SETOR);
  - codes are VARCHAR of their fixed width (sector 2, employee 3, programme 6, card 4,
    sub-card 4, order 8, order item 3, product 8, standard 5, size 2), compared as text;
  - pairs are INTEGER where they are counted, NUMERIC where they are posted;
  - hours are "hh:mm" texts beside a TIMESTAMP column;
  - there are no foreign keys: the management system tolerates orphan rows (a box
    label whose order item was deleted, a card without a programme row) and the
    server treats them as "not found" instead of failing.
*/

SET SQL DIALECT 3;

/* ------------------------------------------------------------------ configuration */

/* Parameters of every module, one text value per (group, name). */
CREATE TABLE PARAM (
  GRUPO_PA  VARCHAR(30) NOT NULL,
  PARAM_PA  VARCHAR(40) NOT NULL,
  VALOR_PA  VARCHAR(255),
  DESC_PA   VARCHAR(100),
  CONSTRAINT PK_PARAM PRIMARY KEY (GRUPO_PA, PARAM_PA)
);

/* The installation: exactly one row (ID_CONFIG is always 1). */
CREATE TABLE CONFIG (
  ID_CONFIG     SMALLINT DEFAULT 1 NOT NULL,
  NOME_EMPRESA  VARCHAR(60),
  CONSTRAINT PK_CONFIG PRIMARY KEY (ID_CONFIG),
  CONSTRAINT CK_CONFIG_UMA_LINHA CHECK (ID_CONFIG = 1)
);

/* Branches (company units) that stock is posted to. */
CREATE TABLE FILIAL (
  COD_FI                         INTEGER NOT NULL,
  NOME_FI                        VARCHAR(60),
  CNPJ_FI                        VARCHAR(18),
  EMISNOTA_FORMA_AGRUP_ITENS_FI  VARCHAR(20),
  CONSTRAINT PK_FILIAL PRIMARY KEY (COD_FI)
);

/* Generic code tables: NUM_TA names the table ('OP' operations, '23' colours...). */
CREATE TABLE TABELA (
  NUM_TA   VARCHAR(4)  NOT NULL,
  COD_TA   VARCHAR(10) NOT NULL,
  DESC_TA  VARCHAR(60),
  CONSTRAINT PK_TABELA PRIMARY KEY (NUM_TA, COD_TA)
);

/* ------------------------------------------------------------ sectors and people */

/* Production sectors. SEQPROD_SE = 'S' puts a sector in the production sequence,
   ordered by ORDEM_SE; SETORANT_SE lists (comma-separated) the sectors that must have
   posted a card before this one; SETOR_AGRUP_SE names the grouping sector this one
   belongs to; TIPO_ATU_PRODUCAO_SETOR_SE is 'N' (any kind of card) or the one card
   kind the sector accepts; LIBERAR_SE = 'S' releases order items and posts finished
   pairs to stock; ATU_SIT_ITEM_ESTOQUE_SE = 'S' marks the items of a completed card
   as in stock. */
CREATE TABLE SETOR (
  COD_SE                      VARCHAR(2)  NOT NULL,
  NOME_SE                     VARCHAR(15) NOT NULL,
  SEQPROD_SE                  VARCHAR(1) DEFAULT 'N',
  ORDEM_SE                    INTEGER,
  SETORANT_SE                 VARCHAR(100),
  SETOR_AGRUP_SE              VARCHAR(2),
  TIPO_OPERACAO_SE            VARCHAR(1),
  TIPO_ATU_PRODUCAO_SETOR_SE  VARCHAR(1) DEFAULT 'N',
  LIBERAR_SE                  VARCHAR(1) DEFAULT 'N',
  ATU_SIT_ITEM_ESTOQUE_SE     VARCHAR(1) DEFAULT 'N',
  CONSTRAINT PK_SETOR PRIMARY KEY (COD_SE)
);

CREATE TABLE FUNCIONARIO (
  CODIGO_FU  VARCHAR(3)  NOT NULL,
  NOME_FU    VARCHAR(40) NOT NULL,
  CRACHA_FU  VARCHAR(12),
  ATIVO_FU   VARCHAR(1) DEFAULT 'S',
  CONSTRAINT PK_FUNCIONARIO PRIMARY KEY (CODIGO_FU)
);
CREATE INDEX IX_FUNCIONARIO_CRACHA ON FUNCIONARIO (CRACHA_FU);

/* Employees registered in a sector; a sector without rows admits everybody. */
CREATE TABLE SETOR_FUNCIONARIO (
  SETOR_SF        VARCHAR(2) NOT NULL,
  FUNCIONARIO_SF  VARCHAR(3) NOT NULL,
  CONSTRAINT PK_SETOR_FUNCIONARIO PRIMARY KEY (SETOR_SF, FUNCIONARIO_SF)
);
CREATE INDEX IX_SETOR_FUNCIONARIO_FUNC ON SETOR_FUNCIONARIO (FUNCIONARIO_SF);

/* ----------------------------------------------------------- products and orders */

CREATE TABLE PRODUTO (
  COD_PR           VARCHAR(8)  NOT NULL,
  DESC_PR          VARCHAR(60) NOT NULL,
  DESCNF_PR        VARCHAR(100),
  SETORINICIAL_PR  VARCHAR(2),
  CONSTRAINT PK_PRODUTO PRIMARY KEY (COD_PR)
);

/* The production-sequence sectors a product goes through; none means all. */
CREATE TABLE PRODUTO_SETOR (
  CODIGO_PRODUTO_PS  VARCHAR(8) NOT NULL,
  CODIGO_SETOR_PS    VARCHAR(2) NOT NULL,
  CONSTRAINT PK_PRODUTO_SETOR PRIMARY KEY (CODIGO_PRODUTO_PS, CODIGO_SETOR_PS)
);

/* Standards (colour and material variants) of a product. */
CREATE TABLE PADRONIZ_PRODUTO (
  PROD_PP      VARCHAR(8)  NOT NULL,
  PADRONIZ_PP  VARCHAR(5)  NOT NULL,
  DESC_PP      VARCHAR(40),
  CONSTRAINT PK_PADRONIZ_PRODUTO PRIMARY KEY (PROD_PP, PADRONIZ_PP)
);

/* Composition of a standard: one row per part of the shoe. */
CREATE TABLE PADRONIZ (
  PROD_PA    VARCHAR(8) NOT NULL,
  CODIGO_PA  VARCHAR(5) NOT NULL,
  SEQ_PA     INTEGER    NOT NULL,
  DESC_PA    VARCHAR(40),
  MPRIMA_PA  INTEGER,
  CONSTRAINT PK_PADRONIZ PRIMARY KEY (PROD_PA, CODIGO_PA, SEQ_PA)
);

CREATE TABLE PEDVENDA (
  NUM_PV     VARCHAR(8) NOT NULL,
  DATA_PV    DATE,
  TIPO_PV    VARCHAR(1),
  CODCLI_PV  INTEGER,
  FILIAL_PV  INTEGER,
  CONSTRAINT PK_PEDVENDA PRIMARY KEY (NUM_PV)
);

/* Order items. A programme card (PROG_IT, FICHA_IT) produces one or more items.
   SIT_IT: 'P' pending, 'L' released, 'E' in stock, 'F' invoiced;
   STATUS_IT: empty for a live item, anything else takes it out of production. */
CREATE TABLE ITENSPV (
  PEDIDO_IT  VARCHAR(8) NOT NULL,
  ITEM_IT    VARCHAR(3) NOT NULL,
  PROD_IT    VARCHAR(8) NOT NULL,
  PADRON_IT  VARCHAR(5),
  PROG_IT    VARCHAR(6),
  FICHA_IT   VARCHAR(4),
  SIT_IT     VARCHAR(1) DEFAULT 'P',
  STATUS_IT  VARCHAR(1),
  CONSTRAINT PK_ITENSPV PRIMARY KEY (PEDIDO_IT, ITEM_IT)
);
CREATE INDEX IX_ITENSPV_PROG_FICHA ON ITENSPV (PROG_IT, FICHA_IT);

/* Pairs ordered per size of an order item. */
CREATE TABLE ITENSPVGRADE (
  PEDIDO_IT  VARCHAR(8) NOT NULL,
  ITEM_IT    VARCHAR(3) NOT NULL,
  TAM_IT     VARCHAR(2) NOT NULL,
  QTPED_IT   INTEGER DEFAULT 0 NOT NULL,
  CONSTRAINT PK_ITENSPVGRADE PRIMARY KEY (PEDIDO_IT, ITEM_IT, TAM_IT)
);

/* ------------------------------------------------------------ programmes and cards */

CREATE TABLE PROGRAMACAO (
  NUM_PO        VARCHAR(6) NOT NULL,
  DATA_PO       DATE,
  ENCERRADA_PO  VARCHAR(1) DEFAULT 'N',
  FILIAL_PO     INTEGER,
  CONSTRAINT PK_PROGRAMACAO PRIMARY KEY (NUM_PO)
);

/* Production cards: one per programme and card number. */
CREATE TABLE PRODUCAO (
  PROG_PR   VARCHAR(6) NOT NULL,
  FICHA_PR  VARCHAR(4) NOT NULL,
  QTDE_PR   INTEGER DEFAULT 0 NOT NULL,
  CONSTRAINT PK_PRODUCAO PRIMARY KEY (PROG_PR, FICHA_PR)
);

/* Sub-cards: one row per sub-card and size; ID_PR is printed on the sub-production
   label of that row. */
CREATE TABLE SUBPROD (
  ID_PR        INTEGER    NOT NULL,
  PROG_PR      VARCHAR(6) NOT NULL,
  FICHA_PR     VARCHAR(4) NOT NULL,
  SUBFICHA_PR  VARCHAR(4) NOT NULL,
  TAMA_PR      VARCHAR(2),
  QTDE_PR      INTEGER DEFAULT 0 NOT NULL,
  CONSTRAINT PK_SUBPROD PRIMARY KEY (ID_PR)
);
CREATE INDEX IX_SUBPROD_FICHA ON SUBPROD (PROG_PR, FICHA_PR, SUBFICHA_PR);

/* Collective boxes (box labels, "talao"). A cancelled box has DATA_CANC_CX set and
   its order number cleared. NUMERACAO_CX and QTPARES_CX hold the sizes and their
   pairs in 3-character slots ("34 35 36", " 6 12  6"). */
CREATE TABLE CODCXCOLET (
  CODIGO_CX     INTEGER NOT NULL,
  PEDIDO_CX     VARCHAR(8),
  ITEMPED_CX    VARCHAR(3),
  TALAO_CX      VARCHAR(4),
  QTDEPAR_CX    INTEGER DEFAULT 0 NOT NULL,
  NUMERACAO_CX  VARCHAR(100),
  QTPARES_CX    VARCHAR(100),
  DATA_CANC_CX  TIMESTAMP,
  CONSTRAINT PK_CODCXCOLET PRIMARY KEY (CODIGO_CX)
);
CREATE INDEX IX_CODCXCOLET_ITEM ON CODCXCOLET (PEDIDO_CX, ITEMPED_CX);

/* Unit boxes: one pair of one size. */
CREATE TABLE CODCXUNIT (
  CODIGO_CX  INTEGER NOT NULL,
  PROD_CX    VARCHAR(8),
  PADRON_CX  VARCHAR(5),
  TAM_CX     VARCHAR(2),
  PROG_CX    VARCHAR(6),
  FICHA_CX   VARCHAR(4),
  PEDIDO_CX  VARCHAR(8),
  ITEM_CX    VARCHAR(3),
  CONSTRAINT PK_CODCXUNIT PRIMARY KEY (CODIGO_CX)
);

/* ------------------------------------------------------ raw material and cutting */

/* Raw materials; SETOR_MP is the sector that issues them. */
CREATE TABLE MPRIMA (
  COD_MP    INTEGER NOT NULL,
  DESC_MP   VARCHAR(60) NOT NULL,
  SETOR_MP  VARCHAR(2),
  CONSTRAINT PK_MPRIMA PRIMARY KEY (COD_MP)
);

/* Cutting dies. */
CREATE TABLE FACA (
  COD_FC        VARCHAR(8) NOT NULL,
  DESCRICAO_FC  VARCHAR(60),
  CONSTRAINT PK_FACA PRIMARY KEY (COD_FC)
);

/* Cut cards of the cutting room; the printed code is "28" + ID_FC in ten digits. */
CREATE TABLE FICHA_CORTE (
  ID_FC                 INTEGER NOT NULL,
  DATA_EMISSAO_FC       DATE,
  MPRIMA_FC             INTEGER,
  COR_FC                VARCHAR(4),
  FACA_FC               VARCHAR(8),
  QTDE_TOT_FC           INTEGER DEFAULT 0 NOT NULL,
  DATA_CANCELAMENTO_FC  TIMESTAMP,
  CONSTRAINT PK_FICHA_CORTE PRIMARY KEY (ID_FC)
);

/* Raw-material requisitions of a programme, with their lines per card. */
CREATE TABLE REQUISICAO_PRODUCAO (
  ID_RP      INTEGER NOT NULL,
  DATA_RP    DATE,
  PROG_RP    VARCHAR(6) NOT NULL,
  MPRIMA_RP  INTEGER NOT NULL,
  CONSTRAINT PK_REQUISICAO_PRODUCAO PRIMARY KEY (ID_RP)
);
CREATE INDEX IX_REQUISICAO_PRODUCAO_PROG ON REQUISICAO_PRODUCAO (PROG_RP);

CREATE TABLE REQUISICAO_PRODUCAO_FICHA (
  ID_REQUISICAO_PRODUCAO_RF  INTEGER NOT NULL,
  FICHA_RF                   VARCHAR(4) NOT NULL,
  CONSUMO_RF                 NUMERIC(15,4) DEFAULT 0 NOT NULL,
  QTDE_SAIDA_RF              NUMERIC(15,4) DEFAULT 0 NOT NULL,
  QTDE_RETORNO_RF            NUMERIC(15,4) DEFAULT 0 NOT NULL,
  CONSTRAINT PK_REQUISICAO_PRODUCAO_FICHA PRIMARY KEY (ID_REQUISICAO_PRODUCAO_RF, FICHA_RF)
);

/* ------------------------------------------------------------ operation cards */

/* Operations a card must go through in a sector; the printed code is
   "OP" + sub-card (4) + ID_OS in seven digits. */
CREATE TABLE PRODUCAO_OP_SETOR (
  ID_OS        INTEGER    NOT NULL,
  PROG_OS      VARCHAR(6) NOT NULL,
  FICHA_OS     VARCHAR(4) NOT NULL,
  SETOR_OS     VARCHAR(2) NOT NULL,
  OPERACAO_OS  VARCHAR(4) NOT NULL,
  CONSTRAINT PK_PRODUCAO_OP_SETOR PRIMARY KEY (ID_OS)
);
CREATE INDEX IX_PRODUCAO_OP_SETOR_FICHA ON PRODUCAO_OP_SETOR (PROG_OS, FICHA_OS, SETOR_OS);

/* ------------------------------------------------------------------- postings */

/* One row per posting of a card (whole card, sub-card, box label or sub-production
   label) in a sector. ID_PS is the key; rows inserted with 0 get a fresh one. */
CREATE TABLE PRODUCAO_SETOR (
  ID_PS                   INTEGER    NOT NULL,
  PROG_PS                 VARCHAR(6) NOT NULL,
  FICHA_PS                VARCHAR(4) NOT NULL,
  SUBFICHA_PS             VARCHAR(4) NOT NULL,
  SETOR_PS                VARCHAR(2) NOT NULL,
  DTENTRADA_PS            TIMESTAMP,
  HORAENTRADA_PS          VARCHAR(5),
  DTSAIDA_PS              TIMESTAMP,
  HORASAIDA_PS            VARCHAR(5),
  FUNCIONAR_PS            VARCHAR(3),
  QTDE_PS                 NUMERIC(15,0),
  QTREAL_PS               NUMERIC(15,3),
  CODCXCOLET_PS           INTEGER DEFAULT 0,
  ID_SUBPROD_PS           INTEGER DEFAULT 0,
  SUBPROD_MPRIMA_ID_PS    INTEGER DEFAULT 0,
  TIPO_OPERACAO_SETOR_PS  VARCHAR(1),
  TIPO_ATUALIZACAO_PS     VARCHAR(1),
  DATA_BAIXA_MANUAL_PS    VARCHAR(1) DEFAULT 'N',
  CONSTRAINT PK_PRODUCAO_SETOR PRIMARY KEY (ID_PS)
);
CREATE INDEX IX_PRODUCAO_SETOR_FICHA ON PRODUCAO_SETOR (PROG_PS, FICHA_PS, SETOR_PS);
CREATE INDEX IX_PRODUCAO_SETOR_CXCOLET ON PRODUCAO_SETOR (CODCXCOLET_PS);

/* Operations recorded through operation cards; one row per operation of a card or
   sub-card in a sector. */
CREATE TABLE PRODUCAO_SETOR_OPERACAO (
  ID_SO                INTEGER    NOT NULL,
  PROG_SO              VARCHAR(6) NOT NULL,
  FICHA_SO             VARCHAR(4) NOT NULL,
  SUBFICHA_SO          VARCHAR(4) NOT NULL,
  SETOR_SO             VARCHAR(2) NOT NULL,
  OPERACAO_SO          VARCHAR(4) NOT NULL,
  FUNCIONARIO_SO       VARCHAR(3),
  DATA_ATUALIZACAO_SO  TIMESTAMP,
  QTDE_SO              NUMERIC(15,3),
  CONSTRAINT PK_PRODUCAO_SETOR_OPERACAO PRIMARY KEY (ID_SO),
  CONSTRAINT UK_PRODUCAO_SETOR_OPERACAO UNIQUE (PROG_SO, FICHA_SO, SUBFICHA_SO, SETOR_SO, OPERACAO_SO)
);

/* Postings of cut cards, one per cut card and sector. */
CREATE TABLE FICHA_CORTE_ATU_SETOR (
  ID_FS              INTEGER NOT NULL,
  ID_FICHA_CORTE_FS  INTEGER NOT NULL,
  SETOR_FS           VARCHAR(2) NOT NULL,
  FUNCIONARIO_FS     VARCHAR(3),
  DATA_SAIDA_FS      TIMESTAMP,
  CONSTRAINT PK_FICHA_CORTE_ATU_SETOR PRIMARY KEY (ID_FS)
);
CREATE INDEX IX_FICHA_CORTE_ATU_SETOR_FICHA ON FICHA_CORTE_ATU_SETOR (ID_FICHA_CORTE_FS, SETOR_FS);

/* ---------------------------------------------------------------------- stock */

/* Stock items: one per product, standard and size, found by CODIGO_PI
   ("product.standard.size", "*" parts left out). */
CREATE TABLE PROD_ITEM_ESTOQUE (
  ID_PI                INTEGER NOT NULL,
  PROD_PI              VARCHAR(8) NOT NULL,
  PADRON_PI            VARCHAR(5),
  TAMANHO_PI           VARCHAR(2),
  CODIGO_PI            VARCHAR(20) NOT NULL,
  DESCRICAO_PI         VARCHAR(200),
  DATA_INCLUSAO_PI     TIMESTAMP,
  STATUS_PI            VARCHAR(1) DEFAULT 'A',
  USUARIO_INCLUSAO_PI  VARCHAR(30),
  CONSTRAINT PK_PROD_ITEM_ESTOQUE PRIMARY KEY (ID_PI),
  CONSTRAINT UK_PROD_ITEM_ESTOQUE_CODIGO UNIQUE (CODIGO_PI)
);

/* Stock movements (entries of raw material and of finished production, "EP"). */
CREATE TABLE ENTRADAMP (
  FILIAL_EMP                 INTEGER     NOT NULL,
  FORNEC_EMP                 INTEGER     NOT NULL,
  DOCTO_EMP                  VARCHAR(10) NOT NULL,
  SERIE_EMP                  VARCHAR(3)  NOT NULL,
  ITEM_EMP                   INTEGER     NOT NULL,
  ORDEM_EMP                  INTEGER     NOT NULL,
  DATA_EMP                   TIMESTAMP,
  TIPO_EMP                   VARCHAR(2),
  QTDE_EMP                   NUMERIC(18,6),
  PROD_EMP                   VARCHAR(8),
  PADRON_EMP                 VARCHAR(5),
  TAMANHO_EMP                VARCHAR(2),
  MPRIMA_EMP                 INTEGER,
  COR_EMP                    VARCHAR(4),
  USUARIO_EMP                VARCHAR(30),
  PROG_EMP                   VARCHAR(6),
  FICHA_EMP                  VARCHAR(4),
  PRECO_EMP                  NUMERIC(15,4),
  PRREAL_EMP                 NUMERIC(15,4),
  PRMEDIO_EMP                NUMERIC(15,4),
  DESCTO_EMP                 NUMERIC(15,2),
  DESPES_EMP                 NUMERIC(15,2),
  ATUEST_EMP                 VARCHAR(1),
  COMGRADE_EMP               VARCHAR(1),
  CST_EMP                    VARCHAR(3),
  IPI_EMP                    NUMERIC(15,2),
  VRIPI_EMP                  NUMERIC(15,2),
  ICMS_EMP                   NUMERIC(15,2),
  VRICM_EMP                  NUMERIC(15,2),
  BASEICM_EMP                NUMERIC(15,2),
  OUTROSICM_EMP              NUMERIC(15,2),
  ISENTOSICM_EMP             NUMERIC(15,2),
  BASEIPI_EMP                NUMERIC(15,2),
  OUTROSIPI_EMP              NUMERIC(15,2),
  ISENTOSIPI_EMP             NUMERIC(15,2),
  GRADE_EMP                  VARCHAR(100),
  MOV_FISICA_EMP             VARCHAR(1),
  ID_ESTOQUE_MOV_INT_EMP     INTEGER,
  ID_PROD_ITEM_ESTOQUE_EMP   INTEGER,
  REG_SPED_K280_EMP          VARCHAR(1),
  REG_SPED_K280_MES_ANO_EMP  VARCHAR(7),
  CONSTRAINT PK_ENTRADAMP PRIMARY KEY (FILIAL_EMP, FORNEC_EMP, DOCTO_EMP, SERIE_EMP, ITEM_EMP, ORDEM_EMP)
);
CREATE INDEX IX_ENTRADAMP_PROD ON ENTRADAMP (PROD_EMP, PADRON_EMP, TAMANHO_EMP);

/* Links between a stock entry of finished production and the order item, card and
   box it came from. STATUS_ES 'A' marks an active link (a cancelled one is 'C'). */
CREATE TABLE PRODUCAO_ESTOQUE (
  ID_ES                  INTEGER NOT NULL,
  DATA_ES                TIMESTAMP,
  USUARIO_ES             VARCHAR(30),
  PEDIDO_ES              VARCHAR(8),
  ITEM_PED_ES            VARCHAR(3),
  CODIGO_CXCOLET_ES      INTEGER,
  CODIGO_CXUNIT_ES       INTEGER,
  PROG_ES                VARCHAR(6),
  FICHA_ES               VARCHAR(4),
  SUBFICHA_ES            VARCHAR(4),
  STATUS_ES              VARCHAR(1) DEFAULT 'A',
  FILIAL_EMP_ES          INTEGER,
  FORNEC_EMP_ES          INTEGER,
  DOCTO_EMP_ES           VARCHAR(10),
  SERIE_EMP_ES           VARCHAR(3),
  ITEM_EMP_ES            INTEGER,
  ORDEM_EMP_ES           INTEGER,
  ID_ESTOQUE_MOV_INT_ES  INTEGER,
  CONSTRAINT PK_PRODUCAO_ESTOQUE PRIMARY KEY (ID_ES)
);
CREATE INDEX IX_PRODUCAO_ESTOQUE_ITEM ON PRODUCAO_ESTOQUE (PEDIDO_ES, ITEM_PED_ES);

/* ----------------------------------------------------------------- change log */

/* Field changes written by GRAVALOG: which row (CHAVE_LA) of which table (ARQ_LA),
   which column, who, when, and the old and new values. */
CREATE TABLE LOG_ALTERACAO (
  ID_LA       INTEGER NOT NULL,
  CHAVE_LA    VARCHAR(60),
  ARQ_LA      VARCHAR(31),
  CAMPO_LA    VARCHAR(31),
  USUARIO_LA  VARCHAR(30),
  DATA_LA     TIMESTAMP,
  VRANT_LA    VARCHAR(250),
  VRATU_LA    VARCHAR(250),
  CONSTRAINT PK_LOG_ALTERACAO PRIMARY KEY (ID_LA)
);
CREATE INDEX IX_LOG_ALTERACAO_CHAVE ON LOG_ALTERACAO (ARQ_LA, CHAVE_LA);

/* ------------------------------------------------------------ the server's own */

/* Card locks of the shop-floor server, read and written by nothing else. A card's
   checks and recording start by locking the row of its slot (SELECT ... WITH LOCK;
   the slot is a hash of what identifies the card), so two servers posting the same
   card take turns and the second sees what the first recorded. Locking a row of the
   management system's own tables instead would give every row the server locks a new
   record version, and an office transaction that read such a row before a scan could
   then no longer update it. Rows 0 to 4095, filled below; db/upgrade-card-locks.sql
   adds the table to an existing factory database. */
CREATE TABLE BLOQUEIO_FICHA (
  ID_BF  INTEGER NOT NULL,
  CONSTRAINT PK_BLOQUEIO_FICHA PRIMARY KEY (ID_BF)
);

/* ------------------------------------------------------------------ generators */

CREATE GENERATOR ID_PRODUCAO_ESTOQUE;
CREATE GENERATOR ID_PROD_ITEM_ESTOQUE;
CREATE GENERATOR ID_PRODUCAO_SETOR;
CREATE GENERATOR ID_PRODUCAO_SETOR_OPERACAO;
CREATE GENERATOR ID_FICHA_CORTE_ATU_SETOR;
CREATE GENERATOR ID_LOG_ALTERACAO;

/* ------------------------------------------------- identifiers of inserted rows */

SET TERM ^ ;

/* Postings are inserted with 0 (or null) as identifier: the database gives them
   their own. An explicit identifier is kept. */
CREATE TRIGGER PRODUCAO_SETOR_BI FOR PRODUCAO_SETOR
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
  IF (NEW.ID_PS IS NULL OR NEW.ID_PS = 0) THEN
    NEW.ID_PS = GEN_ID(ID_PRODUCAO_SETOR, 1);
END^

CREATE TRIGGER PRODUCAO_SETOR_OPERACAO_BI FOR PRODUCAO_SETOR_OPERACAO
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
  IF (NEW.ID_SO IS NULL OR NEW.ID_SO = 0) THEN
    NEW.ID_SO = GEN_ID(ID_PRODUCAO_SETOR_OPERACAO, 1);
END^

CREATE TRIGGER FICHA_CORTE_ATU_SETOR_BI FOR FICHA_CORTE_ATU_SETOR
ACTIVE BEFORE INSERT POSITION 0
AS
BEGIN
  IF (NEW.ID_FS IS NULL OR NEW.ID_FS = 0) THEN
    NEW.ID_FS = GEN_ID(ID_FICHA_CORTE_ATU_SETOR, 1);
END^

/* Records one field change in LOG_ALTERACAO. */
CREATE PROCEDURE GRAVALOG (
  CHAVE    VARCHAR(60),
  ARQ      VARCHAR(31),
  CAMPO    VARCHAR(31),
  USUARIO  VARCHAR(30),
  DATA     TIMESTAMP,
  VRANT    VARCHAR(250),
  VRATU    VARCHAR(250))
AS
BEGIN
  INSERT INTO LOG_ALTERACAO (ID_LA, CHAVE_LA, ARQ_LA, CAMPO_LA, USUARIO_LA, DATA_LA,
                             VRANT_LA, VRATU_LA)
  VALUES (GEN_ID(ID_LOG_ALTERACAO, 1), :CHAVE, :ARQ, :CAMPO, :USUARIO, :DATA,
          :VRANT, :VRATU);
END^

/* The card lock slots. */
EXECUTE BLOCK AS
  DECLARE SLOT INTEGER = 0;
BEGIN
  WHILE (SLOT < 4096) DO
  BEGIN
    INSERT INTO BLOQUEIO_FICHA (ID_BF) VALUES (:SLOT);
    SLOT = SLOT + 1;
  END
END^

SET TERM ; ^

/* ------------------------------------------------------------------ first rows */

INSERT INTO CONFIG (ID_CONFIG, NOME_EMPRESA) VALUES (1, '');

COMMIT;
