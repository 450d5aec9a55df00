-- Every SQL statement the server sends to the factory database, as the code sends it.
-- test_schema prepares each one on a database made from db/schema.sql, so a change of
-- the schema that breaks a statement (a column renamed, a width, an ambiguous name)
-- shows up at once.
--
-- Format: entries separated by a line holding only ";;". Each entry starts with one
-- comment line "-- Module.component[ variant]: what it is for"; the part before the
-- ":" names the test. The other lines are the statement, one line of the component's
-- text per line, trailing blanks and empty lines included. Named parameters are
-- written ":NAME". Statements whose text is built at run time (quoted literals,
-- optional lines) appear as one representative instance per shape. An entry without
-- SQL lines (like this header) is skipped.
;;
-- TdmAtuProducao.sqlParam: one production parameter from PARAM
select VALOR_PA from PARAM where GRUPO_PA = :GRUPO and PARAM_PA = :PARAM
;;
-- TdmAtuProducao.sqlConfig: the company name
SELECT NOME_EMPRESA FROM CONFIG
;;
-- TdmAtuProducao.sqlSetor: the production-sequence sectors (cdsSetor)
select * from SETOR where SEQPROD_SE='S' order by ORDEM_SE
;;
-- TdmAtuProducao.sqlCodCxCol: box label lookup (identification, validation, talao release)
select CX.PEDIDO_CX, CX.ITEMPED_CX, IT.PROG_IT, IT.FICHA_IT, CX.TALAO_CX, QTDEPAR_CX, IT.PROD_IT, IT.PADRON_IT,
CX.DATA_CANC_CX,
(select DESC_PR
from PRODUTO PR
where PR.COD_PR = IT.PROD_IT) as DESC_PROD,
(select PA.DESC_PP
from PADRONIZ_PRODUTO PA
where PA.PROD_PP = IT.PROD_IT and
PA.PADRONIZ_PP = IT.PADRON_IT) as DESC_PAD, CX.NUMERACAO_CX, CX.QTPARES_CX, P.TIPO_PV, P.CODCLI_PV
from CODCXCOLET CX
inner join ITENSPV IT on IT.PEDIDO_IT = CX.PEDIDO_CX and IT.ITEM_IT = CX.ITEMPED_CX
inner join PEDVENDA P on P.NUM_PV = IT.PEDIDO_IT
where CODIGO_CX = :COD
;;
-- TdmAtuProducao.sqlCodSubProd: sub-production label lookup
select DISTINCT SP.prog_pr, SP.ficha_pr, sp.subficha_pr, SP.qtde_pr, IT.PROD_IT, IT.PADRON_IT,
(select DESC_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as DESC_PROD,
(select max(DESC_PA) from PADRONIZ PA where PA.PROD_PA = IT.PROD_IT and PA.CODIGO_PA = IT.PADRON_IT) as DESC_PAD
from SUBPROD SP
left join ITENSPV IT on IT.prog_it = SP.prog_pr and IT.ficha_it = SP.ficha_pr
where SP.id_pr=:COD
;;
-- TdmAtuProducao.sqlProdOpSetor: operation-by-sector card lookup
SELECT P.SETOR_OS, P.OPERACAO_OS, IT.PROG_IT, IT.FICHA_IT, IT.PROD_IT, IT.PADRON_IT,
(SELECT DESC_PR FROM PRODUTO PR WHERE PR.COD_PR = IT.PROD_IT) AS DESC_PROD,
(SELECT PA.DESC_PP FROM PADRONIZ_PRODUTO PA WHERE PA.PROD_PP = IT.PROD_IT AND PA.PADRONIZ_PP = IT.PADRON_IT) AS DESC_PAD,
(SELECT DESC_TA FROM TABELA WHERE NUM_TA = 'OP' AND COD_TA = P.OPERACAO_OS) DESC_OPERACAO
FROM PRODUCAO_OP_SETOR P
INNER JOIN ITENSPV IT ON IT.PROG_IT = P.PROG_OS AND IT.FICHA_IT = P.FICHA_OS
INNER JOIN PEDVENDA PD ON PD.NUM_PV = IT.PEDIDO_IT
WHERE P.ID_OS = :ID_PROD_OP_SETOR
;;
-- TdmAtuProducao.cdsFuncCracha: active employees by badge
SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,
(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE S.FUNCIONARIO_SF = F.CODIGO_FU) SETOR_FUNC
FROM FUNCIONARIO F WHERE F.CRACHA_FU <> '' AND F.ATIVO_FU = 'S'
;;
-- TdmAtuProducao.cdsFunc: all employees by code
SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,
(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE S.FUNCIONARIO_SF = F.CODIGO_FU) SETOR_FUNC
FROM FUNCIONARIO F
;;
-- TdmAtuProducao.sqlFichaCorteAtu: cut card posted in a sector
insert into FICHA_CORTE_ATU_SETOR (
ID_FS,
ID_FICHA_CORTE_FS,
SETOR_FS,
FUNCIONARIO_FS,
DATA_SAIDA_FS)

values (
0,
:ID_FICHA_CORTE,
:SETOR,
:FUNCIONARIO,
:DATA_SAIDA)
;;
-- TdmAtuProducao.sqlProdSetorOperacao: operations recorded for a card in a sector
SELECT * FROM PRODUCAO_SETOR_OPERACAO SO
WHERE SO.PROG_SO = :PROG AND SO.FICHA_SO = :FICHA
AND SO.SUBFICHA_SO = :SUBFICHA AND SO.SETOR_SO = :SETOR
;;
-- TdmAtuProducao.dspProdSetorOperacao insert: one recorded operation (ID_SO sent as 0)
insert into PRODUCAO_SETOR_OPERACAO (ID_SO, PROG_SO, FICHA_SO, SUBFICHA_SO, SETOR_SO, OPERACAO_SO,
FUNCIONARIO_SO, DATA_ATUALIZACAO_SO, QTDE_SO)
values (:ID_SO, :PROG_SO, :FICHA_SO, :SUBFICHA_SO, :SETOR_SO, :OPERACAO_SO,
:FUNCIONARIO_SO, :DATA_ATUALIZACAO_SO, :QTDE_SO)
;;
-- TdmAtuProducao.sqlOperacaoFicha: operations a card needs in a sector
SELECT * FROM PRODUCAO_OP_SETOR O WHERE O.PROG_OS = :PROG AND O.FICHA_OS = :FICHA AND O.SETOR_OS = :SETOR
;;
-- TdmAtuProducao.sqlFichaCorte: cut card with its posting in a sector
select ID_FC, MPRIMA_FC, COR_FC, FACA_FC, QTDE_TOT_FC, DATA_CANCELAMENTO_FC,
(select DESC_MP from MPRIMA MP where MP.COD_MP = FC.MPRIMA_FC) as DESC_MPRIMA,
(select DESC_TA from TABELA TA where TA.NUM_TA = '23' and TA.COD_TA = FC.COR_FC) as DESC_COR,
(select DESCRICAO_FC from FACA FA where FA.COD_FC = FC.FACA_FC) as DESC_FACA,
(SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = ATU.FUNCIONARIO_FS) NOME_FUNC,
ATU.DATA_SAIDA_FS  DATA_ATU
from FICHA_CORTE FC
left join FICHA_CORTE_ATU_SETOR ATU on ATU.ID_FICHA_CORTE_FS = FC.ID_FC and ATU.SETOR_FS = :SETOR
where ID_FC=:ID_FICHA
;;
-- TdmAtuProducao.sqlNomeSetor: sector name for messages
select S.NOME_SE
from SETOR S
where S.COD_SE = :CODIGO
;;
-- TdmAtuProducao.sqlDataHora_Servidor: the database server's clock
select cast('now' as TIMESTAMP) as DATA_HORA
from CONFIG
;;
-- CardLock.slot: locks a card's slot and reads the database server's clock
select ID_BF, cast('now' as TIMESTAMP) as DATA_HORA from BLOQUEIO_FICHA where ID_BF = :SLOT with lock
;;
-- TdmAtuProducao.sqlSetorFunc: employees registered in a sector
select * 
from SETOR_FUNCIONARIO
where SETOR_SF = :SETOR
;;
-- TdmAtuProducao.sqlItensPv: product and initial sector of a card
select PROD_IT, PADRON_IT,
(select DESC_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as DESC_PROD,
(select DESC_PP from PADRONIZ_PRODUTO PA where PA.PROD_PP = IT.PROD_IT and PA.PADRONIZ_PP = IT.PADRON_IT) as DESC_PAD,
(select SETORINICIAL_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as SETOR_INICIAL
from ITENSPV IT
where PROG_IT=:PROG
and FICHA_IT=:FICHA
;;
-- TdmAtuProducao.sqlSetorProd: production-sequence sectors of a product
SELECT PS.CODIGO_SETOR_PS 
FROM PRODUTO_SETOR PS
LEFT JOIN SETOR SE ON SE.COD_SE = PS.CODIGO_SETOR_PS
WHERE PS.CODIGO_PRODUTO_PS = :PROD
AND SE.SEQPROD_SE = 'S'
;;
-- TdmAtuProducao.sqlSetAntAtu card: postings of a previous sector, whole card
select SETOR_PS from PRODUCAO_SETOR PS
where PROG_PS=:PROG
and FICHA_PS=:FICHA
and SETOR_PS=:SETOR
;;
-- TdmAtuProducao.sqlSetAntAtu subcard: postings of a previous sector, sub-card or whole card
select SETOR_PS from PRODUCAO_SETOR PS
where PROG_PS=:PROG
and FICHA_PS=:FICHA
and ((SUBFICHA_PS=:SUBFICHA) or (SUBFICHA_PS='0000'))
and SETOR_PS=:SETOR
;;
-- TdmAtuProducao.sqlSetAntAtu group name: name of a previous grouping sector for its message
SELECT S.nome_se FROM SETOR S
WHERE S.cod_se = :SETOR
;;
-- TdmAtuProducao.sqlFichaOpSetor: operations of a card in a sector still unrecorded
select count(*) QTDE_REG
from PRODUCAO_OP_SETOR P
where P.PROG_OS = :PROG and
P.FICHA_OS = :FICHA and
P.SETOR_OS = :SETOR and
(select count(*)
from PRODUCAO_SETOR_OPERACAO SO
where SO.PROG_SO = P.PROG_OS and
SO.FICHA_SO = P.FICHA_OS and
SO.SETOR_SO = P.SETOR_OS and
SO.OPERACAO_SO = P.OPERACAO_OS) = 0
;;
-- TdmAtuProducao.sqlProgEncerrada: whether a programme is closed
SELECT ENCERRADA_PO
FROM PROGRAMACAO
WHERE NUM_PO = :PROG
;;
-- TdmAtuProducao.sqlBxReqSetorMp: pending raw-material requisition lines of a card
SELECT COUNT(*) QTDE_REG
FROM REQUISICAO_PRODUCAO_FICHA F
INNER JOIN REQUISICAO_PRODUCAO R ON R.ID_RP = F.ID_REQUISICAO_PRODUCAO_RF
INNER JOIN MPRIMA MP ON MP.COD_MP = R.MPRIMA_RP
WHERE R.PROG_RP = :PROG
AND F.FICHA_RF = :FICHA
AND MP.SETOR_MP = :SETOR_MP
AND F.CONSUMO_RF > 0
AND (F.CONSUMO_RF - F.QTDE_SAIDA_RF + F.QTDE_RETORNO_RF) > 0
;;
-- TdmAtuProducao.sqlTotPares subcard: total pairs of a sub-card (text built with literals)
SELECT SUM(QTDE_PR) TOT_PARES FROM SUBPROD WHERE PROG_PR = '000101' AND FICHA_PR = '0002' AND SUBFICHA_PR = '0001'
;;
-- TdmAtuProducao.sqlTotPares card: total pairs of a card (a quote in the programme is doubled)
select sum (G.QTPED_IT) TOT_PARES from ITENSPV I left join ITENSPVGRADE G on G.PEDIDO_IT = I.PEDIDO_IT and G.ITEM_IT = I.ITEM_IT where I.PROG_IT = 'A''0101' and I.FICHA_IT = '0004'
;;
-- TdmAtuProducao.sqlProg: quantity of a programme card
select PROG_PR, FICHA_PR, QTDE_PR
from PRODUCAO
where PROG_PR=:PROG
and FICHA_PR=:FICHA
;;
-- TdmAtuProducao.sqlSubFichaProdSetor: sub-cards of a card posted in a sector
select count(*) as NumReg from producao_setor ps where ps.prog_ps = :prog
and ps.ficha_ps = :ficha and ps.setor_ps = :setor and ps.subficha_ps <> '0000'
;;
-- TdmAtuProducao.sqlSubFicha: sub-cards of a card
select * from subprod s where s.prog_pr = :PROG and s.ficha_pr = :FICHA
;;
-- TdmAtuProducao.sqlFichaProdSetor: whole-card postings of a card in a sector, by employee
SELECT COUNT(*) AS NUMREG, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = PS.FUNCIONAR_PS) NOME_FUNC
FROM PRODUCAO_SETOR PS
WHERE PS.PROG_PS = :PROG AND PS.FICHA_PS = :FICHA AND PS.SETOR_PS = :SETOR AND PS.SUBFICHA_PS = '0000'
GROUP BY PS.FUNCIONAR_PS
;;
-- TdmAtuProducao.sqlSetoresAgrupados: every sector that belongs to a group, with its group
SELECT COD_SE, NOME_SE, SETOR_AGRUP_SE
FROM SETOR S
WHERE S.SETOR_AGRUP_SE IS NOT NULL
;;
-- TdmAtuProducao.sqlSubP: quantity of a sub-card
select PROG_PR, FICHA_PR, SUBFICHA_PR, sum(QTDE_PR) as QTDE
from SUBPROD
where PROG_PR=:PROG
and FICHA_PR=:FICHA
and SUBFICHA_PR=:SUBFICHA
group by PROG_PR, FICHA_PR, SUBFICHA_PR
;;
-- TdmAtuProducao.sqlSubProd whole subcard: whole sub-card already posted in the sector
select p.*, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = P.FUNCIONAR_PS) NOME_FUNC
from PRODUCAO_SETOR p where p.PROG_PS = :PROG
and p.FICHA_PS = :FICHA and p.SUBFICHA_PS = :SUBFICHA and p.SETOR_PS = :SETOR
and ((p.ID_SUBPROD_PS = 0) or (p.ID_SUBPROD_PS is null)) and ((p.CODCXCOLET_PS = 0) or (p.CODCXCOLET_PS is null)) and ((p.SUBPROD_MPRIMA_ID_PS = 0) or (p.SUBPROD_MPRIMA_ID_PS is null))
;;
-- TdmAtuProducao.sqlSubProd box label: box or sub-production of the sub-card already posted
select p.*, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = P.FUNCIONAR_PS) NOME_FUNC
from PRODUCAO_SETOR p where p.PROG_PS = :PROG
and p.FICHA_PS = :FICHA and p.SUBFICHA_PS = :SUBFICHA and p.SETOR_PS = :SETOR
and ((p.CODCXCOLET_PS = :CODCXCOLET) or (p.ID_SUBPROD_PS > 0) or (p.SUBPROD_MPRIMA_ID_PS > 0))
;;
-- TdmAtuProducao.sqlSubProd subproduction label: sub-production or box of the sub-card already posted
select p.*, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = P.FUNCIONAR_PS) NOME_FUNC
from PRODUCAO_SETOR p where p.PROG_PS = :PROG
and p.FICHA_PS = :FICHA and p.SUBFICHA_PS = :SUBFICHA and p.SETOR_PS = :SETOR
and ((p.ID_SUBPROD_PS = :IDSUBPROD) or (p.CODCXCOLET_PS > 0) or (p.SUBPROD_MPRIMA_ID_PS > 0))
;;
-- TdmAtuProducao.sqlSubProd box label exit: the box's own row without its exit (entry/exit mode)
select p.*, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = P.FUNCIONAR_PS) NOME_FUNC
from PRODUCAO_SETOR p where p.PROG_PS = :PROG
and p.FICHA_PS = :FICHA and p.SUBFICHA_PS = :SUBFICHA and p.SETOR_PS = :SETOR
and (p.CODCXCOLET_PS = :CODCXCOLET) and (p.DTSAIDA_PS is null)
;;
-- TdmAtuProducao.sqlSubProd subproduction label exit: the sub-production's own row without its exit (entry/exit mode)
select p.*, (SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = P.FUNCIONAR_PS) NOME_FUNC
from PRODUCAO_SETOR p where p.PROG_PS = :PROG
and p.FICHA_PS = :FICHA and p.SUBFICHA_PS = :SUBFICHA and p.SETOR_PS = :SETOR
and (p.ID_SUBPROD_PS = :IDSUBPROD) and (p.DTSAIDA_PS is null)
;;
-- TdmAtuProducao.sqlProdSetor card all sectors: postings of a whole card (validation)
select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP
from PRODUCAO_SETOR PS
left join SETOR SE on SE.COD_SE = PS.SETOR_PS
where PROG_PS=:PROG
and FICHA_PS=:FICHA
;;
-- TdmAtuProducao.sqlProdSetor subproduction all sectors: postings of one sub-production label (validation)
select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP
from PRODUCAO_SETOR PS
left join SETOR SE on SE.COD_SE = PS.SETOR_PS
where PROG_PS=:PROG
and FICHA_PS=:FICHA
and SUBFICHA_PS=:SUBFICHA
and ID_SUBPROD_PS=:SUBPROD
;;
-- TdmAtuProducao.sqlProdSetor card in sector: postings of a whole card in the sector (recording)
select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP
from PRODUCAO_SETOR PS
left join SETOR SE on SE.COD_SE = PS.SETOR_PS
where PROG_PS=:PROG
and FICHA_PS=:FICHA
and SETOR_PS=:SETOR
;;
-- TdmAtuProducao.sqlProdSetor subproduction in sector: postings of a sub-production label in the sector (recording)
select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP
from PRODUCAO_SETOR PS
left join SETOR SE on SE.COD_SE = PS.SETOR_PS
where PROG_PS=:PROG
and FICHA_PS=:FICHA
and SUBFICHA_PS=:SUBFICHA
and SETOR_PS=:SETOR
and ID_SUBPROD_PS=:SUBPROD
;;
-- TdmAtuProducao.dspProdSetor insert exit: a new posting with the exit date and hour
insert into PRODUCAO_SETOR (PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, FUNCIONAR_PS,
TIPO_OPERACAO_SETOR_PS, TIPO_ATUALIZACAO_PS, QTDE_PS, CODCXCOLET_PS, ID_SUBPROD_PS, ID_PS,
DATA_BAIXA_MANUAL_PS, DTSAIDA_PS, HORASAIDA_PS)
values (:PROG_PS, :FICHA_PS, :SUBFICHA_PS, :SETOR_PS, :FUNCIONAR_PS,
:TIPO_OPERACAO_SETOR_PS, :TIPO_ATUALIZACAO_PS, :QTDE_PS, :CODCXCOLET_PS, :ID_SUBPROD_PS, :ID_PS,
:DATA_BAIXA_MANUAL_PS, :DTSAIDA_PS, :HORASAIDA_PS)
;;
-- TdmAtuProducao.dspProdSetor insert entry: a new posting with the entry date and hour
insert into PRODUCAO_SETOR (PROG_PS, FICHA_PS, SUBFICHA_PS, SETOR_PS, FUNCIONAR_PS,
TIPO_OPERACAO_SETOR_PS, TIPO_ATUALIZACAO_PS, QTDE_PS, CODCXCOLET_PS, ID_SUBPROD_PS, ID_PS,
DATA_BAIXA_MANUAL_PS, DTENTRADA_PS, HORAENTRADA_PS)
values (:PROG_PS, :FICHA_PS, :SUBFICHA_PS, :SETOR_PS, :FUNCIONAR_PS,
:TIPO_OPERACAO_SETOR_PS, :TIPO_ATUALIZACAO_PS, :QTDE_PS, :CODCXCOLET_PS, :ID_SUBPROD_PS, :ID_PS,
:DATA_BAIXA_MANUAL_PS, :DTENTRADA_PS, :HORAENTRADA_PS)
;;
-- TdmAtuProducao.dspProdSetor update exit: the exit of an entered posting, by its key alone
update PRODUCAO_SETOR set DTSAIDA_PS = :DTSAIDA_PS, HORASAIDA_PS = :HORASAIDA_PS
where ID_PS = :ID_PS
;;
-- TdmAtuProducao.sqlTalaoLibItem: box labels of an order item and their postings in a sector
select S.LIBERAR_SE, count(C.CODIGO_CX) REG, count(P.SETOR_PS) REG_ATU
from CODCXCOLET C
left join PRODUCAO_SETOR P on P.CODCXCOLET_PS = C.CODIGO_CX and P.SETOR_PS = :SETOR
left join SETOR S on S.COD_SE = :SETOR
where C.PEDIDO_CX = :PEDIDO and
      C.ITEMPED_CX = :ITEM
group by 1  
;;
-- TdmAtuProducao.sqlSitItem: status of an order item
select i.sit_it from itenspv i
where i.pedido_it = :ped and i.item_it = :item
;;
-- TdmAtuProducao.sqlAtuPed: order item released
update itenspv i set i.sit_it = :sit
where i.pedido_it = :ped and i.item_it = :item
;;
-- TdmAtuProducao.stpGravaLog: change-log entry of the release
EXECUTE PROCEDURE GRAVALOG (:CHAVE, :ARQ, :CAMPO, :USUARIO, :DATA, :VRANT, :VRATU)
;;
-- TdmAtuProducao.sqlPesqAtuFicha: ordered pairs of a card against its pairs posted in a sector
SELECT (SELECT SUM(GO.QTPED_IT) FROM ITENSPVGRADE GO INNER JOIN ITENSPV IO ON IO.PEDIDO_IT = GO.PEDIDO_IT  AND GO.ITEM_IT = IO.ITEM_IT WHERE IO.PROG_IT = :PROG AND IO.FICHA_IT = :FICHA) TOT_PARES_FICHA, 
SUM(PS.QTDE_PS) TOT_PROD_SETOR
FROM PRODUCAO_SETOR PS
WHERE PS.PROG_PS = :PROG AND PS.FICHA_PS = :FICHA AND PS.SETOR_PS = :SETOR
;;
-- TdmAtuProducao.sqlAltSitItemProg: pending items of a completed card marked in stock
UPDATE ITENSPV I SET I.SIT_IT = :SIT
WHERE I.PROG_IT = :PROG
AND I.FICHA_IT = :FICHA
AND I.SIT_IT = 'P'
AND ( (I.STATUS_IT IS NULL) OR (I.STATUS_IT = '') )
;;
-- TdmEstoqueProducao.LerParametro: one stock parameter from PARAM
SELECT VALOR_PA FROM PARAM WHERE GRUPO_PA = :GRUPO AND PARAM_PA = :PARAM
;;
-- TdmEstoqueProducao.sqlProdEst size: candidate rows of one order item and size
select IT.PEDIDO_IT, IT.ITEM_IT, IT.PROD_IT, IT.PADRON_IT, IT.PROG_IT, IT.FICHA_IT, G.TAM_IT, G.QTPED_IT,
       (SELECT PEDVENDA.FILIAL_PV FROM PEDVENDA WHERE PEDVENDA.NUM_PV = IT.PEDIDO_IT) FILIAL_PEDVENDA,
       (SELECT PROGRAMACAO.FILIAL_PO FROM PROGRAMACAO WHERE PROGRAMACAO.NUM_PO = IT.PROG_IT) FILIAL_PROGRAMACAO,
       ( select sum(EMP.QTDE_EMP)
         from PRODUCAO_ESTOQUE PE
         inner join ENTRADAMP EMP on EMP.FILIAL_EMP = PE.FILIAL_EMP_ES
                                 and EMP.FORNEC_EMP = PE.FORNEC_EMP_ES
                                 and EMP.SERIE_EMP = PE.SERIE_EMP_ES
                                 and EMP.DOCTO_EMP = PE.DOCTO_EMP_ES
                                 and EMP.ITEM_EMP = PE.ITEM_EMP_ES
                                 and EMP.ORDEM_EMP = PE.ORDEM_EMP_ES
                                 and (EMP.TAMANHO_EMP = G.TAM_IT or (G.TAM_IT = '*' and EMP.TAMANHO_EMP = ''))
         where PE.PEDIDO_ES = IT.PEDIDO_IT and PE.ITEM_PED_ES = IT.ITEM_IT
               and PE.STATUS_ES = 'A' 
       ) as QTDE_JA_LANCADA
from ITENSPV IT
inner join ITENSPVGRADE G on G.PEDIDO_IT = IT.PEDIDO_IT and G.ITEM_IT = IT.ITEM_IT
where IT.PEDIDO_IT = :PED
and IT.ITEM_IT = :ITEM
and TAM_IT = :TAM
;;
-- TdmEstoqueProducao.sqlProdEst order item: candidate rows of one order item
select IT.PEDIDO_IT, IT.ITEM_IT, IT.PROD_IT, IT.PADRON_IT, IT.PROG_IT, IT.FICHA_IT, G.TAM_IT, G.QTPED_IT,
       (SELECT PEDVENDA.FILIAL_PV FROM PEDVENDA WHERE PEDVENDA.NUM_PV = IT.PEDIDO_IT) FILIAL_PEDVENDA,
       (SELECT PROGRAMACAO.FILIAL_PO FROM PROGRAMACAO WHERE PROGRAMACAO.NUM_PO = IT.PROG_IT) FILIAL_PROGRAMACAO,
       ( select sum(EMP.QTDE_EMP)
         from PRODUCAO_ESTOQUE PE
         inner join ENTRADAMP EMP on EMP.FILIAL_EMP = PE.FILIAL_EMP_ES
                                 and EMP.FORNEC_EMP = PE.FORNEC_EMP_ES
                                 and EMP.SERIE_EMP = PE.SERIE_EMP_ES
                                 and EMP.DOCTO_EMP = PE.DOCTO_EMP_ES
                                 and EMP.ITEM_EMP = PE.ITEM_EMP_ES
                                 and EMP.ORDEM_EMP = PE.ORDEM_EMP_ES
                                 and (EMP.TAMANHO_EMP = G.TAM_IT or (G.TAM_IT = '*' and EMP.TAMANHO_EMP = ''))
         where PE.PEDIDO_ES = IT.PEDIDO_IT and PE.ITEM_PED_ES = IT.ITEM_IT
               and PE.STATUS_ES = 'A' 
       ) as QTDE_JA_LANCADA
from ITENSPV IT
inner join ITENSPVGRADE G on G.PEDIDO_IT = IT.PEDIDO_IT and G.ITEM_IT = IT.ITEM_IT
where IT.PEDIDO_IT = :PED
and IT.ITEM_IT = :ITEM
;;
-- TdmEstoqueProducao.sqlProdEst card: candidate rows of the open items of a card
select IT.PEDIDO_IT, IT.ITEM_IT, IT.PROD_IT, IT.PADRON_IT, IT.PROG_IT, IT.FICHA_IT, G.TAM_IT, G.QTPED_IT,
       (SELECT PEDVENDA.FILIAL_PV FROM PEDVENDA WHERE PEDVENDA.NUM_PV = IT.PEDIDO_IT) FILIAL_PEDVENDA,
       (SELECT PROGRAMACAO.FILIAL_PO FROM PROGRAMACAO WHERE PROGRAMACAO.NUM_PO = IT.PROG_IT) FILIAL_PROGRAMACAO,
       ( select sum(EMP.QTDE_EMP)
         from PRODUCAO_ESTOQUE PE
         inner join ENTRADAMP EMP on EMP.FILIAL_EMP = PE.FILIAL_EMP_ES
                                 and EMP.FORNEC_EMP = PE.FORNEC_EMP_ES
                                 and EMP.SERIE_EMP = PE.SERIE_EMP_ES
                                 and EMP.DOCTO_EMP = PE.DOCTO_EMP_ES
                                 and EMP.ITEM_EMP = PE.ITEM_EMP_ES
                                 and EMP.ORDEM_EMP = PE.ORDEM_EMP_ES
                                 and (EMP.TAMANHO_EMP = G.TAM_IT or (G.TAM_IT = '*' and EMP.TAMANHO_EMP = ''))
         where PE.PEDIDO_ES = IT.PEDIDO_IT and PE.ITEM_PED_ES = IT.ITEM_IT
               and PE.STATUS_ES = 'A' 
       ) as QTDE_JA_LANCADA
from ITENSPV IT
inner join ITENSPVGRADE G on G.PEDIDO_IT = IT.PEDIDO_IT and G.ITEM_IT = IT.ITEM_IT
where IT.PROG_IT = :PROG
and IT.FICHA_IT = :FICHA
and IT.SIT_IT in ('P','L') and ((IT.STATUS_IT = '') or (IT.STATUS_IT is null))
;;
-- TdmEstoqueProducao.sqlCodCxUnit: unit box lookup
select PROD_CX, PADRON_CX, TAM_CX, PROG_CX, FICHA_CX, PEDIDO_CX, ITEM_CX
from CODCXUNIT
where CODIGO_CX = :COD
;;
-- TdmEstoqueProducao.sqlCodCxColet: collective box lookup
select PEDIDO_CX, ITEMPED_CX, NUMERACAO_CX, QTPARES_CX
from CODCXCOLET
where CODIGO_CX = :COD
;;
-- TdmEstoqueProducao.sqlSubFicha: pairs per size of a sub-card
select QTDE_PR, TAMA_PR from SUBPROD
where PROG_PR = :PROG
and FICHA_PR = :FICHA
and SUBFICHA_PR = :SUBFICHA
;;
-- TdmEstoqueProducao.sqlEntMpAdd: stock entry of finished pairs
insert into ENTRADAMP (FILIAL_EMP, FORNEC_EMP, DOCTO_EMP, SERIE_EMP, ITEM_EMP, ORDEM_EMP,
DATA_EMP, TIPO_EMP, QTDE_EMP, PROD_EMP, PADRON_EMP, TAMANHO_EMP, MPRIMA_EMP, COR_EMP,
USUARIO_EMP, PROG_EMP, FICHA_EMP, PRECO_EMP, PRREAL_EMP, PRMEDIO_EMP, DESCTO_EMP, DESPES_EMP,
ATUEST_EMP, COMGRADE_EMP, CST_EMP, IPI_EMP, VRIPI_EMP, ICMS_EMP, VRICM_EMP, BASEICM_EMP,
OUTROSICM_EMP, ISENTOSICM_EMP, BASEIPI_EMP, OUTROSIPI_EMP, ISENTOSIPI_EMP, GRADE_EMP,
MOV_FISICA_EMP, ID_ESTOQUE_MOV_INT_EMP, ID_PROD_ITEM_ESTOQUE_EMP, REG_SPED_K280_EMP,
REG_SPED_K280_MES_ANO_EMP)
values (:FILIAL_EMP, :FORNEC_EMP, :DOCTO_EMP, :SERIE_EMP, :ITEM_EMP, :ORDEM_EMP,
:DATA_EMP, :TIPO_EMP, :QTDE_EMP, :PROD_EMP, :PADRON_EMP, :TAMANHO_EMP, 0, '',
:USUARIO_EMP, :PROG_EMP, :FICHA_EMP, 0, 0, 0, 0, 0,
'N', 'N', '', 0, 0, 0, 0, 0,
0, 0, 0, 0, 0, '',
:MOV_FISICA_EMP, 0, :ID_PROD_ITEM_ESTOQUE_EMP, :REG_SPED_K280_EMP,
:REG_SPED_K280_MES_ANO_EMP)
;;
-- TdmEstoqueProducao.sqlProdEstAdd: link of a stock entry to its order item, card and box
insert into PRODUCAO_ESTOQUE (
ID_ES, DATA_ES, USUARIO_ES, PEDIDO_ES, ITEM_PED_ES, CODIGO_CXCOLET_ES, CODIGO_CXUNIT_ES,
PROG_ES, FICHA_ES, SUBFICHA_ES, STATUS_ES, FILIAL_EMP_ES, FORNEC_EMP_ES, DOCTO_EMP_ES,
SERIE_EMP_ES, ITEM_EMP_ES, ORDEM_EMP_ES, ID_ESTOQUE_MOV_INT_ES)
values (
:ID_PRODUCAO_ESTOQUE, :DATA_LANC, :USUARIO, :PEDIDO, :ITEM_PED, :CODIGO_CXCOLET, :CODIGO_CXUNIT,
:PROG, :FICHA, :SUBFICHA, 'A', :FILIAL_EMP, :FORNEC_EMP, :DOCTO_EMP,
:SERIE_EMP, :ITEM_EMP, :ORDEM_EMP, :ID_ESTOQUE_MOV_INT)
;;
-- TdmEstoqueProducao.IdProdItemEstoque: stock item by its code (text built with a literal)
SELECT ID_PI, DESCRICAO_PI FROM PROD_ITEM_ESTOQUE WHERE CODIGO_PI = '1020.001.38'
;;
-- TdmEstoqueProducao.sqlAddProdItemEstoque: new stock item
insert into PROD_ITEM_ESTOQUE(ID_PI,PROD_PI,PADRON_PI,TAMANHO_PI,CODIGO_PI,DESCRICAO_PI,DATA_INCLUSAO_PI,STATUS_PI,USUARIO_INCLUSAO_PI)
                                           values (:O_ID_PROD_ITEM_EST,:I_PROD,:I_PADRON,:I_TAMANHO,:V_CODIGO,:V_DESC_PROD_ITEM_EST,cast('now' as timestamp),'A','AUTOMATICO');
;;
-- TdmEstoqueProducao.sqlDescProdItemEst: description of a new stock item
SELECT PR.DESC_PR, PR.DESCNF_PR,
(SELECT PP.DESC_PP FROM PADRONIZ_PRODUTO PP WHERE PP.PROD_PP = :PROD AND PP.PADRONIZ_PP = :PADRON) DESC_PADRON,
(SELECT F.EMISNOTA_FORMA_AGRUP_ITENS_FI FROM FILIAL F WHERE F.COD_FI = :FILIAL) FILIAL_FORMA_AGRUP_ITENS
FROM PRODUTO PR
WHERE PR.COD_PR = :PROD
;;
-- TdmEstoqueProducao.ProximoId production stock: next stock entry id
select gen_id(ID_PRODUCAO_ESTOQUE, 1) from rdb$database
;;
-- TdmEstoqueProducao.ProximoId stock item: next stock item id
select gen_id(ID_PROD_ITEM_ESTOQUE, 1) from rdb$database
