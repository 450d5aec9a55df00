#include "production/stock/TdmEstoqueProducao.h"

#include <algorithm>
#include <stdexcept>

#include "dataaccess/firebird/TransactionScope.h"
#include "production/stock/ELancProducaoEstoqueException.h"
#include "production/stock/StockAllocation.h"
#include "production/stock/StockEntryRules.h"

namespace mts {

namespace {

constexpr const char* kGrupoParametros = "PRODUCAO_ESTOQUE";
constexpr const char* kGeradorLancamento = "ID_PRODUCAO_ESTOQUE";
constexpr const char* kGeradorProdItem = "ID_PROD_ITEM_ESTOQUE";

ProdEstRow candidateFrom(const db::Row& row) {
  ProdEstRow candidate;
  candidate.PEDIDO_IT = row.text("PEDIDO_IT");
  candidate.ITEM_IT = row.text("ITEM_IT");
  candidate.PROD_IT = row.text("PROD_IT");
  candidate.PADRON_IT = row.text("PADRON_IT");
  candidate.PROG_IT = row.text("PROG_IT");
  candidate.FICHA_IT = row.text("FICHA_IT");
  candidate.TAM_IT = row.text("TAM_IT");
  candidate.QTPED_IT = StockQuantity::fromValue(row.value("QTPED_IT"));
  candidate.QTDE_JA_LANCADA = StockQuantity::fromValue(row.value("QTDE_JA_LANCADA"));
  candidate.FILIAL_PEDVENDA = row.integer("FILIAL_PEDVENDA");
  candidate.FILIAL_PROGRAMACAO = row.integer("FILIAL_PROGRAMACAO");
  return candidate;
}

// The stock item of a product, standardisation and size, by its code.
constexpr const char* kProdItemEstoque =
    "SELECT ID_PI, DESCRICAO_PI FROM PROD_ITEM_ESTOQUE WHERE CODIGO_PI = :CODIGO";

// The next value of a generator (its name is part of the text).
std::string sqlProximoIdText(const std::string& gerador) {
  return "select gen_id(" + gerador + ", 1) from rdb$database";
}

[[noreturn]] void boxNotPostable(const char* box, std::int32_t codigo) {
  throw ELancProducaoEstoqueException(std::string("A caixa ") + box + " " + std::to_string(codigo) +
                                      " n\xE3o foi encontrada ou n\xE3o tem item de pedido.");
}

}  // namespace

std::string MontarSQLItens(int modo) {
  std::string sql = sqlLines(
      {"select IT.PEDIDO_IT, IT.ITEM_IT, IT.PROD_IT, IT.PADRON_IT, IT.PROG_IT, IT.FICHA_IT, "
       "G.TAM_IT, G.QTPED_IT,",
       "       (SELECT PEDVENDA.FILIAL_PV FROM PEDVENDA WHERE PEDVENDA.NUM_PV = IT.PEDIDO_IT) "
       "FILIAL_PEDVENDA,",
       "       (SELECT PROGRAMACAO.FILIAL_PO FROM PROGRAMACAO WHERE PROGRAMACAO.NUM_PO = "
       "IT.PROG_IT) FILIAL_PROGRAMACAO,",
       "       ( select sum(EMP.QTDE_EMP)", "         from PRODUCAO_ESTOQUE PE",
       "         inner join ENTRADAMP EMP on EMP.FILIAL_EMP = PE.FILIAL_EMP_ES",
       "                                 and EMP.FORNEC_EMP = PE.FORNEC_EMP_ES",
       "                                 and EMP.SERIE_EMP = PE.SERIE_EMP_ES",
       "                                 and EMP.DOCTO_EMP = PE.DOCTO_EMP_ES",
       "                                 and EMP.ITEM_EMP = PE.ITEM_EMP_ES",
       "                                 and EMP.ORDEM_EMP = PE.ORDEM_EMP_ES",
       // A size "*" is entered with an empty TAMANHO_EMP (see InserirEntradaMp),
       // so that is what counts as posted for it.
       "                                 and (EMP.TAMANHO_EMP = G.TAM_IT or (G.TAM_IT = '*' and "
       "EMP.TAMANHO_EMP = ''))",
       "         where PE.PEDIDO_ES = IT.PEDIDO_IT and PE.ITEM_PED_ES = IT.ITEM_IT",
       "               and PE.STATUS_ES = 'A' ", "       ) as QTDE_JA_LANCADA", "from ITENSPV IT",
       "inner join ITENSPVGRADE G on G.PEDIDO_IT = IT.PEDIDO_IT and G.ITEM_IT = IT.ITEM_IT"});
  switch (modo) {
    case 0:
      return sql + "\n" +
             sqlLines({"where IT.PEDIDO_IT = :PED", "and IT.ITEM_IT = :ITEM", "and TAM_IT = :TAM"});
    case 1:
      return sql + "\n" + sqlLines({"where IT.PEDIDO_IT = :PED", "and IT.ITEM_IT = :ITEM"});
    case 2:
      return sql + "\n" +
             sqlLines({"where IT.PROG_IT = :PROG", "and IT.FICHA_IT = :FICHA",
                       "and IT.SIT_IT in ('P','L') and ((IT.STATUS_IT = '') or (IT.STATUS_IT is "
                       "null))"});
    default:
      throw std::invalid_argument("unknown candidate mode " + std::to_string(modo));
  }
}

namespace {

std::string sqlParamText() {
  return sqlLines({"SELECT VALOR_PA FROM PARAM WHERE GRUPO_PA = :GRUPO AND PARAM_PA = :PARAM"});
}

std::string sqlCodCxUnitText() {
  return sqlLines(
      {"select PROD_CX, PADRON_CX, TAM_CX, PROG_CX, FICHA_CX, PEDIDO_CX, "
       "ITEM_CX",
       "from CODCXUNIT", "where CODIGO_CX = :COD"});
}

std::string sqlCodCxColetText() {
  return sqlLines({"select PEDIDO_CX, ITEMPED_CX, NUMERACAO_CX, QTPARES_CX", "from CODCXCOLET",
                   "where CODIGO_CX = :COD"});
}

std::string sqlSubFichaText() {
  return sqlLines({"select QTDE_PR, TAMA_PR from SUBPROD", "where PROG_PR = :PROG",
                   "and FICHA_PR = :FICHA", "and SUBFICHA_PR = :SUBFICHA"});
}

std::string sqlEntMpAddText() {
  return sqlLines(
      {"insert into ENTRADAMP (FILIAL_EMP, FORNEC_EMP, DOCTO_EMP, SERIE_EMP, ITEM_EMP, "
       "ORDEM_EMP,",
       "DATA_EMP, TIPO_EMP, QTDE_EMP, PROD_EMP, PADRON_EMP, TAMANHO_EMP, MPRIMA_EMP, COR_EMP,",
       "USUARIO_EMP, PROG_EMP, FICHA_EMP, PRECO_EMP, PRREAL_EMP, PRMEDIO_EMP, DESCTO_EMP, "
       "DESPES_EMP,",
       "ATUEST_EMP, COMGRADE_EMP, CST_EMP, IPI_EMP, VRIPI_EMP, ICMS_EMP, VRICM_EMP, "
       "BASEICM_EMP,",
       "OUTROSICM_EMP, ISENTOSICM_EMP, BASEIPI_EMP, OUTROSIPI_EMP, ISENTOSIPI_EMP, GRADE_EMP,",
       "MOV_FISICA_EMP, ID_ESTOQUE_MOV_INT_EMP, ID_PROD_ITEM_ESTOQUE_EMP, REG_SPED_K280_EMP,",
       "REG_SPED_K280_MES_ANO_EMP)",
       "values (:FILIAL_EMP, :FORNEC_EMP, :DOCTO_EMP, :SERIE_EMP, :ITEM_EMP, :ORDEM_EMP,",
       ":DATA_EMP, :TIPO_EMP, :QTDE_EMP, :PROD_EMP, :PADRON_EMP, :TAMANHO_EMP, 0, '',",
       ":USUARIO_EMP, :PROG_EMP, :FICHA_EMP, 0, 0, 0, 0, 0,", "'N', 'N', '', 0, 0, 0, 0, 0,",
       "0, 0, 0, 0, 0, '',", ":MOV_FISICA_EMP, 0, :ID_PROD_ITEM_ESTOQUE_EMP, :REG_SPED_K280_EMP,",
       ":REG_SPED_K280_MES_ANO_EMP)"});
}

std::string sqlProdEstAddText() {
  return sqlLines(
      {"insert into PRODUCAO_ESTOQUE (",
       "ID_ES, DATA_ES, USUARIO_ES, PEDIDO_ES, ITEM_PED_ES, CODIGO_CXCOLET_ES, "
       "CODIGO_CXUNIT_ES,",
       "PROG_ES, FICHA_ES, SUBFICHA_ES, STATUS_ES, FILIAL_EMP_ES, FORNEC_EMP_ES, "
       "DOCTO_EMP_ES,",
       "SERIE_EMP_ES, ITEM_EMP_ES, ORDEM_EMP_ES, ID_ESTOQUE_MOV_INT_ES)", "values (",
       ":ID_PRODUCAO_ESTOQUE, :DATA_LANC, :USUARIO, :PEDIDO, :ITEM_PED, :CODIGO_CXCOLET, "
       ":CODIGO_CXUNIT,",
       ":PROG, :FICHA, :SUBFICHA, 'A', :FILIAL_EMP, :FORNEC_EMP, :DOCTO_EMP,",
       ":SERIE_EMP, :ITEM_EMP, :ORDEM_EMP, :ID_ESTOQUE_MOV_INT)"});
}

std::string sqlDescProdItemEstText() {
  return sqlLines(
      {"SELECT PR.DESC_PR, PR.DESCNF_PR,",
       "(SELECT PP.DESC_PP FROM PADRONIZ_PRODUTO PP WHERE PP.PROD_PP = :PROD AND "
       "PP.PADRONIZ_PP = :PADRON) DESC_PADRON,",
       "(SELECT F.EMISNOTA_FORMA_AGRUP_ITENS_FI FROM FILIAL F WHERE F.COD_FI = :FILIAL) "
       "FILIAL_FORMA_AGRUP_ITENS",
       "FROM PRODUTO PR", "WHERE PR.COD_PR = :PROD"});
}

std::string sqlAddProdItemEstoqueText() {
  return sqlLines(
      {"insert into "
       "PROD_ITEM_ESTOQUE(ID_PI,PROD_PI,PADRON_PI,TAMANHO_PI,CODIGO_PI,DESCRICAO_PI,DATA_"
       "INCLUSAO_PI,STATUS_PI,USUARIO_INCLUSAO_PI)",
       "                                           values "
       "(:O_ID_PROD_ITEM_EST,:I_PROD,:I_PADRON,:I_TAMANHO,:V_CODIGO,:V_DESC_PROD_ITEM_EST,"
       "cast('now' as timestamp),'A','AUTOMATICO');"});
}

}  // namespace

TdmEstoqueProducao::TdmEstoqueProducao()
    : sqlParam(sqlParamText()),
      sqlProdEst(MontarSQLItens(1)),
      sqlCodCxUnit(sqlCodCxUnitText()),
      sqlCodCxColet(sqlCodCxColetText()),
      sqlSubFicha(sqlSubFichaText()),
      sqlEntMpAdd(sqlEntMpAddText()),
      sqlProdEstAdd(sqlProdEstAddText()),
      sqlDescProdItemEst(sqlDescProdItemEstText()),
      sqlAddProdItemEstoque(sqlAddProdItemEstoqueText()) {}

void TdmEstoqueProducao::DefinirConexao(db::Connection& connection) {
  connection_ = &connection;
  for (ModuleQuery* query :
       {&sqlParam, &sqlProdEst, &sqlCodCxUnit, &sqlCodCxColet, &sqlSubFicha, &sqlEntMpAdd,
        &sqlProdEstAdd, &sqlDescProdItemEst, &sqlAddProdItemEstoque}) {
    query->setConnection(&connection);
  }
}

db::Connection& TdmEstoqueProducao::conexao() {
  if (connection_ == nullptr) throw std::logic_error("stock module has no connection");
  return *connection_;
}

std::string TdmEstoqueProducao::LerParametro(const std::string& parametro) {
  sqlParam.close();
  sqlParam.params().set("GRUPO", kGrupoParametros).set("PARAM", parametro);
  sqlParam.open();
  const std::string valor = sqlParam.isEmpty() ? std::string() : sqlParam.row().text("VALOR_PA");
  sqlParam.close();
  return valor;
}

void TdmEstoqueProducao::EntradaEstoqueProducao(TRegEntradaEstoqueProd reg) {
  parametros_ =
      StockParameters::fromValues(LerParametro("ATU_CODCXCOLET"), LerParametro("ATU_CODCXUNIT"),
                                  LerParametro("ATU_FILIAL_PROG"));
  cdsProdEst_.clear();
  if (!PrepararRequisicao(reg, parametros_)) return;
  reg_ = reg;

  // The pairs already posted are read in the transaction that writes the new
  // entries, so that what is read is what the entries build on.
  db::TransactionScope transacao(conexao());
  switch (reg_.TipoLancProducaoEstoque) {
    case lpeCaixaUnitaria:
      LancarCaixaUnitaria();
      break;
    case lpeCaixaColetiva:
      LancarCaixaColetiva();
      break;
    case lpeFicha:
      AbrirItens(ModoItens::Ficha, {{"PROG", reg_.Programacao}, {"FICHA", reg_.Ficha}});
      for (ProdEstRow& row : cdsProdEst_) LancarQtdePendente(row, row.QTPED_IT);
      break;
    case lpeSubFicha:
      LancarSubFicha();
      break;
    case lpePedidoItem:
      AbrirItens(ModoItens::PedidoItem, {{"PED", reg_.Pedido}, {"ITEM", reg_.ItemPed}});
      for (ProdEstRow& row : cdsProdEst_) LancarQtdePendente(row, row.QTPED_IT);
      break;
    case lpePedidoItemQtde:
      AbrirItens(ModoItens::PedidoItem, {{"PED", reg_.Pedido}, {"ITEM", reg_.ItemPed}});
      for (ProdEstRow& row : cdsProdEst_) LancarQtdeFixa(row, StockQuantity::fromDouble(reg_.Qtde));
      break;
    case lpeAvulso:
    case lpeMovimentoInterno:
      LancarAvulso();
      break;
  }
  GravarLancamentos();
  transacao.commit();
}

void TdmEstoqueProducao::AbrirItens(ModoItens modo, const db::Params& params) {
  sqlProdEst = ModuleQuery(MontarSQLItens(static_cast<int>(modo)));
  sqlProdEst.setConnection(connection_);
  sqlProdEst.params() = params;
  sqlProdEst.open();
  cdsProdEst_.clear();
  for (const db::Row& row : sqlProdEst.rows()) cdsProdEst_.push_back(candidateFrom(row));
}

void TdmEstoqueProducao::LancarCaixaUnitaria() {
  sqlCodCxUnit.close();
  sqlCodCxUnit.params().set("COD", reg_.CodigoCxUnit);
  sqlCodCxUnit.open();
  if (!sqlCodCxUnit.isEmpty()) {
    const db::Row& caixa = sqlCodCxUnit.row();
    AbrirItens(ModoItens::PedidoItemTamanho, {{"PED", caixa.text("PEDIDO_CX")},
                                              {"ITEM", caixa.text("ITEM_CX")},
                                              {"TAM", caixa.text("TAM_CX")}});
  }
  // A box that cannot be posted must not pass for posted.
  if (cdsProdEst_.empty()) boxNotPostable("unit\xE1ria", reg_.CodigoCxUnit);
  LancarQtdePendente(cdsProdEst_.front(), StockQuantity::fromValue(std::int32_t{1}));
}

void TdmEstoqueProducao::LancarCaixaColetiva() {
  sqlCodCxColet.close();
  sqlCodCxColet.params().set("COD", reg_.CodigoCxColet);
  sqlCodCxColet.open();
  if (!sqlCodCxColet.isEmpty()) {
    const db::Row& caixa = sqlCodCxColet.row();
    AbrirItens(ModoItens::PedidoItem,
               {{"PED", caixa.text("PEDIDO_CX")}, {"ITEM", caixa.text("ITEMPED_CX")}});
  }
  if (cdsProdEst_.empty()) boxNotPostable("coletiva", reg_.CodigoCxColet);
  const db::Row& caixa = sqlCodCxColet.row();
  DistribuirNumeracao(cdsProdEst_, caixa.text("NUMERACAO_CX"), caixa.text("QTPARES_CX"));
}

void TdmEstoqueProducao::LancarSubFicha() {
  sqlSubFicha.close();
  sqlSubFicha.params()
      .set("PROG", reg_.Programacao)
      .set("FICHA", reg_.Ficha)
      .set("SUBFICHA", reg_.Subficha);
  sqlSubFicha.open();
  std::vector<SubFichaSize> tamanhos;
  for (const db::Row& row : sqlSubFicha.rows()) {
    tamanhos.push_back({row.text("TAMA_PR"), StockQuantity::fromValue(row.value("QTDE_PR"))});
  }
  AbrirItens(ModoItens::Ficha, {{"PROG", reg_.Programacao}, {"FICHA", reg_.Ficha}});
  std::stable_sort(cdsProdEst_.begin(), cdsProdEst_.end(),
                   [](const ProdEstRow& a, const ProdEstRow& b) { return a.TAM_IT < b.TAM_IT; });
  DistribuirSubFicha(cdsProdEst_, tamanhos);
}

void TdmEstoqueProducao::LancarAvulso() {
  ProdEstRow row;
  row.PEDIDO_IT = "00000000";
  row.ITEM_IT = "000";
  row.PROD_IT = reg_.Produto;
  row.PADRON_IT = reg_.Padronizacao;
  row.TAM_IT = reg_.Tamanho;
  row.PROG_IT = "000000";
  row.FICHA_IT = "0000";
  row.QTDE_NOVO_LANC = StockQuantity::fromDouble(reg_.Qtde);
  cdsProdEst_ = {row};
}

void TdmEstoqueProducao::GravarLancamentos() {
  for (const ProdEstRow& row : cdsProdEst_) {
    if (row.QTDE_NOVO_LANC == StockQuantity()) continue;
    const std::int32_t id = ProximoId(kGeradorLancamento);
    InserirEntradaMp(id, row);
    InserirProducaoEstoque(id, row);
  }
}

void TdmEstoqueProducao::DefinirChaveEntradaMp(db::Params& params, std::int32_t id,
                                               const ProdEstRow& row) {
  filialLancamento_ = FilialDoLancamento(row, parametros_.ATU_FILIAL_PROG, reg_.Filial);
  params.set("FILIAL_EMP", filialLancamento_)
      .set("FORNEC_EMP", -1)
      .set("DOCTO_EMP", reg_.Documento.empty() ? std::string("PRODES") : reg_.Documento)
      .set("SERIE_EMP", "ES")
      .set("ITEM_EMP", id)
      .set("ORDEM_EMP", 1);
}

void TdmEstoqueProducao::InserirEntradaMp(std::int32_t id, const ProdEstRow& row) {
  db::Params& params = sqlEntMpAdd.params();
  DefinirChaveEntradaMp(params, id, row);
  params.set("DATA_EMP", SomenteData(reg_.DataLanc))
      .set("TIPO_EMP", "EP")
      .set("QTDE_EMP", row.QTDE_NOVO_LANC.toDecimal())
      .set("PROD_EMP", row.PROD_IT)
      .set("PADRON_EMP", row.PADRON_IT)
      .set("TAMANHO_EMP", row.TAM_IT == "*" ? std::string() : row.TAM_IT)
      .set("USUARIO_EMP", reg_.Usuario)
      .set("PROG_EMP", row.PROG_IT)
      .set("FICHA_EMP", row.FICHA_IT)
      .set("MOV_FISICA_EMP", "S")
      .set("ID_PROD_ITEM_ESTOQUE_EMP",
           IdProdItemEstoque(row.PROD_IT, row.PADRON_IT, filialLancamento_, row.TAM_IT))
      .set("REG_SPED_K280_EMP", reg_.RegSpedK280)
      .set("REG_SPED_K280_MES_ANO_EMP", reg_.RegSpedK280MesAno);
  sqlEntMpAdd.execute();
}

void TdmEstoqueProducao::InserirProducaoEstoque(std::int32_t id, const ProdEstRow& row) {
  db::Params& params = sqlProdEstAdd.params();
  DefinirChaveEntradaMp(params, id, row);
  params.set("ID_PRODUCAO_ESTOQUE", id)
      .set("DATA_LANC", SomenteData(reg_.DataLanc))
      .set("USUARIO", reg_.Usuario)
      .set("PEDIDO", row.PEDIDO_IT)
      .set("ITEM_PED", row.ITEM_IT)
      .set("CODIGO_CXCOLET", reg_.CodigoCxColet)
      .set("CODIGO_CXUNIT", reg_.CodigoCxUnit)
      .set("PROG", reg_.Programacao)
      .set("FICHA", reg_.Ficha)
      .set("SUBFICHA", reg_.Subficha)
      .set("ID_ESTOQUE_MOV_INT", reg_.IdMovEstInterno);
  sqlProdEstAdd.execute();
}

std::int32_t TdmEstoqueProducao::IdProdItemEstoque(const std::string& produto,
                                                   const std::string& padronizacao,
                                                   std::int32_t filial,
                                                   const std::string& tamanho) {
  const std::string codigo = CodigoProdItemEstoque(produto, padronizacao, tamanho);
  const db::ResultSet item = conexao().query(kProdItemEstoque, {{"CODIGO", codigo}});
  const std::int32_t id = item.empty() ? 0 : item.front().integer("ID_PI");
  if (id > 0) return id;
  return CriarProdItemEstoque(produto, padronizacao, filial, tamanho, codigo);
}

std::int32_t TdmEstoqueProducao::CriarProdItemEstoque(const std::string& produto,
                                                      const std::string& padronizacao,
                                                      std::int32_t filial,
                                                      const std::string& tamanho,
                                                      const std::string& codigo) {
  const std::string descricao =
      DescricaoProdItemEstoque(produto, padronizacao, filial, tamanho, codigo);
  const std::int32_t id = ProximoId(kGeradorProdItem);
  sqlAddProdItemEstoque.params()
      .set("O_ID_PROD_ITEM_EST", id)
      .set("I_PROD", produto)
      .set("I_PADRON", padronizacao.empty() ? std::string("*") : padronizacao)
      .set("I_TAMANHO", tamanho.empty() ? std::string("*") : tamanho)
      .set("V_CODIGO", codigo)
      .set("V_DESC_PROD_ITEM_EST", descricao);
  sqlAddProdItemEstoque.execute();
  return id;
}

std::string TdmEstoqueProducao::DescricaoProdItemEstoque(const std::string& produto,
                                                         const std::string& padronizacao,
                                                         std::int32_t filial,
                                                         const std::string& tamanho,
                                                         const std::string& codigo) {
  sqlDescProdItemEst.close();
  sqlDescProdItemEst.params()
      .set("PROD", produto)
      .set("PADRON", padronizacao)
      .set("FILIAL", filial);
  sqlDescProdItemEst.open();
  ProdItemDescriptionParts parts;
  if (!sqlDescProdItemEst.isEmpty()) {
    const db::Row& row = sqlDescProdItemEst.row();
    parts = {row.text("DESC_PR"), row.text("DESCNF_PR"), row.text("DESC_PADRON"),
             row.text("FILIAL_FORMA_AGRUP_ITENS")};
  }
  sqlDescProdItemEst.close();
  return mts::DescricaoProdItemEstoque(parts, tamanho, codigo);
}

std::int32_t TdmEstoqueProducao::ProximoId(const std::string& gerador) {
  const db::ResultSet valor = conexao().query(sqlProximoIdText(gerador));
  const std::int64_t id = valor.front().bigint("GEN_ID");
  if (id < 1 || id > INT32_MAX) {
    throw std::out_of_range("generator " + gerador + " is past the 32-bit range");
  }
  return static_cast<std::int32_t>(id);
}

std::vector<NamedStatement> TdmEstoqueProducao::Statements() {
  return {{"TdmEstoqueProducao.sqlParam", sqlParamText()},
          {"TdmEstoqueProducao.sqlProdEst size", MontarSQLItens(0)},
          {"TdmEstoqueProducao.sqlProdEst order item", MontarSQLItens(1)},
          {"TdmEstoqueProducao.sqlProdEst card", MontarSQLItens(2)},
          {"TdmEstoqueProducao.sqlCodCxUnit", sqlCodCxUnitText()},
          {"TdmEstoqueProducao.sqlCodCxColet", sqlCodCxColetText()},
          {"TdmEstoqueProducao.sqlSubFicha", sqlSubFichaText()},
          {"TdmEstoqueProducao.sqlEntMpAdd", sqlEntMpAddText()},
          {"TdmEstoqueProducao.sqlProdEstAdd", sqlProdEstAddText()},
          {"TdmEstoqueProducao.sqlDescProdItemEst", sqlDescProdItemEstText()},
          {"TdmEstoqueProducao.sqlAddProdItemEstoque", sqlAddProdItemEstoqueText()},
          {"TdmEstoqueProducao.IdProdItemEstoque", kProdItemEstoque},
          {"TdmEstoqueProducao.ProximoId production stock", sqlProximoIdText(kGeradorLancamento)},
          {"TdmEstoqueProducao.ProximoId stock item", sqlProximoIdText(kGeradorProdItem)}};
}

}  // namespace mts
