#include "production/TdmAtuProducao.h"

#include <exception>

namespace mts {

TdmAtuProducao::TdmAtuProducao(db::Connection& connection, StartupErrorReporter reportError)
    : sqlParam(
          sqlLines({"select VALOR_PA from PARAM where GRUPO_PA = :GRUPO and PARAM_PA = :PARAM"})),
      sqlConfig(sqlLines({"SELECT NOME_EMPRESA FROM CONFIG"})),
      sqlCodCxCol(sqlLines(
          {"select CX.PEDIDO_CX, CX.ITEMPED_CX, IT.PROG_IT, IT.FICHA_IT, CX.TALAO_CX, QTDEPAR_CX, "
           "IT.PROD_IT, IT.PADRON_IT,",
           "CX.DATA_CANC_CX,", "(select DESC_PR", "from PRODUTO PR",
           "where PR.COD_PR = IT.PROD_IT) as DESC_PROD,", "(select PA.DESC_PP",
           "from PADRONIZ_PRODUTO PA", "where PA.PROD_PP = IT.PROD_IT and",
           "PA.PADRONIZ_PP = IT.PADRON_IT) as DESC_PAD, CX.NUMERACAO_CX, CX.QTPARES_CX, P.TIPO_PV, "
           "P.CODCLI_PV",
           "from CODCXCOLET CX",
           "inner join ITENSPV IT on IT.PEDIDO_IT = CX.PEDIDO_CX and IT.ITEM_IT = CX.ITEMPED_CX",
           "inner join PEDVENDA P on P.NUM_PV = IT.PEDIDO_IT", "where CODIGO_CX = :COD"})),
      sqlCodSubProd(sqlLines(
          {"select DISTINCT SP.prog_pr, SP.ficha_pr, sp.subficha_pr, SP.qtde_pr, IT.PROD_IT, "
           "IT.PADRON_IT,",
           "(select DESC_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as DESC_PROD,",
           "(select max(DESC_PA) from PADRONIZ PA where PA.PROD_PA = IT.PROD_IT and PA.CODIGO_PA = "
           "IT.PADRON_IT) as DESC_PAD",
           "from SUBPROD SP",
           "left join ITENSPV IT on IT.prog_it = SP.prog_pr and IT.ficha_it = SP.ficha_pr",
           "where SP.id_pr=:COD"})),
      sqlProdOpSetor(sqlLines(
          {"SELECT P.SETOR_OS, P.OPERACAO_OS, IT.PROG_IT, IT.FICHA_IT, IT.PROD_IT, IT.PADRON_IT,",
           "(SELECT DESC_PR FROM PRODUTO PR WHERE PR.COD_PR = IT.PROD_IT) AS DESC_PROD,",
           "(SELECT PA.DESC_PP FROM PADRONIZ_PRODUTO PA WHERE PA.PROD_PP = IT.PROD_IT AND "
           "PA.PADRONIZ_PP = IT.PADRON_IT) AS DESC_PAD,",
           "(SELECT DESC_TA FROM TABELA WHERE NUM_TA = 'OP' AND COD_TA = P.OPERACAO_OS) "
           "DESC_OPERACAO",
           "FROM PRODUCAO_OP_SETOR P",
           "INNER JOIN ITENSPV IT ON IT.PROG_IT = P.PROG_OS AND IT.FICHA_IT = P.FICHA_OS",
           "INNER JOIN PEDVENDA PD ON PD.NUM_PV = IT.PEDIDO_IT",
           "WHERE P.ID_OS = :ID_PROD_OP_SETOR"})),
      sqlFichaCorte(sqlLines(
          {"select ID_FC, MPRIMA_FC, COR_FC, FACA_FC, QTDE_TOT_FC, DATA_CANCELAMENTO_FC,",
           "(select DESC_MP from MPRIMA MP where MP.COD_MP = FC.MPRIMA_FC) as DESC_MPRIMA,",
           "(select DESC_TA from TABELA TA where TA.NUM_TA = '23' and TA.COD_TA = FC.COR_FC) as "
           "DESC_COR,",
           "(select DESCRICAO_FC from FACA FA where FA.COD_FC = FC.FACA_FC) as DESC_FACA,",
           "(SELECT F.NOME_FU FROM FUNCIONARIO F WHERE F.CODIGO_FU = ATU.FUNCIONARIO_FS) "
           "NOME_FUNC,",
           "ATU.DATA_SAIDA_FS  DATA_ATU", "from FICHA_CORTE FC",
           "left join FICHA_CORTE_ATU_SETOR ATU on ATU.ID_FICHA_CORTE_FS = FC.ID_FC and "
           "ATU.SETOR_FS "
           "= :SETOR",
           "where ID_FC=:ID_FICHA"})),
      sqlFichaCorteAtu(
          sqlLines({"insert into FICHA_CORTE_ATU_SETOR (", "ID_FS,", "ID_FICHA_CORTE_FS,",
                    "SETOR_FS,", "FUNCIONARIO_FS,", "DATA_SAIDA_FS)", "", "values (", "0,",
                    ":ID_FICHA_CORTE,", ":SETOR,", ":FUNCIONARIO,", ":DATA_SAIDA)"})),
      sqlOperacaoFicha(
          sqlLines({"SELECT * FROM PRODUCAO_OP_SETOR O WHERE O.PROG_OS = :PROG AND O.FICHA_OS = "
                    ":FICHA AND O.SETOR_OS = :SETOR"})),
      sqlNomeSetor(sqlLines({"select S.NOME_SE", "from SETOR S", "where S.COD_SE = :CODIGO"})),
      estoqueProducao_(connection, cdsSetor),
      liberacaoItem_(connection, cdsSetor, estoqueProducao_,
                     [this](std::int32_t codigo) { return ItemDoTalao(codigo); }),
      producaoSetor_(connection),
      gravacao_(connection, producaoSetor_, liberacaoItem_, estoqueProducao_) {
  cdsSetor.setSQL({"select * from SETOR where SEQPROD_SE='S' order by ORDEM_SE"});
  cdsFuncCracha.setSQL({"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,",
                        "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE "
                        "S.FUNCIONARIO_SF = F.CODIGO_FU) SETOR_FUNC",
                        "FROM FUNCIONARIO F WHERE F.CRACHA_FU <> '' AND F.ATIVO_FU = 'S'"});
  cdsFuncCracha.setIndexFieldNames("CRACHA_FU");
  cdsFunc.setSQL({"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,",
                  "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE S.FUNCIONARIO_SF = "
                  "F.CODIGO_FU) SETOR_FUNC",
                  "FROM FUNCIONARIO F"});
  cdsFunc.setIndexFieldNames("CODIGO_FU");
  cdsProdSetorOperacao.setSQL({"SELECT * FROM PRODUCAO_SETOR_OPERACAO SO",
                               "WHERE SO.PROG_SO = :PROG AND SO.FICHA_SO = :FICHA",
                               "AND SO.SUBFICHA_SO = :SUBFICHA AND SO.SETOR_SO = :SETOR"});
  cdsProdSetorOperacao.setIndexFieldNames("PROG_SO;FICHA_SO;SUBFICHA_SO;SETOR_SO;OPERACAO_SO");

  DefinirConexao(connection);
  // A database that cannot be reached at start-up must not stop the server:
  // the error is reported and the module lives on with what it read so far.
  try {
    DataModuleCreate();
  } catch (const std::exception& error) {
    if (reportError) reportError(error.what());
  }
}

TdmAtuProducao::~TdmAtuProducao() = default;

void TdmAtuProducao::DefinirConexao(db::Connection& connection) {
  connection_ = &connection;
  for (ModuleQuery* query : {&sqlParam, &sqlConfig, &sqlCodCxCol, &sqlCodSubProd, &sqlProdOpSetor,
                             &sqlFichaCorte, &sqlFichaCorteAtu, &sqlOperacaoFicha, &sqlNomeSetor}) {
    query->setConnection(&connection);
  }
  for (TVNClientDataSet* list : {&cdsSetor, &cdsFuncCracha, &cdsFunc, &cdsProdSetorOperacao}) {
    list->setSQLConnection(&connection);
  }
}

std::optional<BoxLabelOrderItem> TdmAtuProducao::ItemDoTalao(std::int32_t codigo) {
  std::string mensagem;  // a label not found is no error here
  if (!LocalizarCodCxColet(codigo, mensagem)) return std::nullopt;
  return BoxLabelOrderItem{sqlCodCxCol.row().text("PEDIDO_CX"),
                           sqlCodCxCol.row().text("ITEMPED_CX")};
}

void TdmAtuProducao::DataModuleCreate() {
  CarregarParametros();
  AtualizarCadastros();
}

}  // namespace mts
