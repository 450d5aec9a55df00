#include "production/recording/ItemRelease.h"

#include "dataaccess/firebird/TransactionScope.h"
#include "production/recording/SectorFlags.h"
#include "production/stock/StockQuantity.h"

namespace mts {

namespace {

std::string sqlTalaoLibItemText() {
  return sqlLines(
      {"select S.LIBERAR_SE, count(C.CODIGO_CX) REG, count(P.SETOR_PS) REG_ATU",
       "from CODCXCOLET C",
       "left join PRODUCAO_SETOR P on P.CODCXCOLET_PS = C.CODIGO_CX and P.SETOR_PS = :SETOR",
       "left join SETOR S on S.COD_SE = :SETOR", "where C.PEDIDO_CX = :PEDIDO and",
       "      C.ITEMPED_CX = :ITEM", "group by 1  "});
}

std::string sqlSitItemText() {
  return sqlLines(
      {"select i.sit_it from itenspv i", "where i.pedido_it = :ped and i.item_it = :item"});
}

std::string sqlAtuPedText() {
  return sqlLines(
      {"update itenspv i set i.sit_it = :sit", "where i.pedido_it = :ped and i.item_it = :item"});
}

std::string stpGravaLogText() {
  return sqlLines(
      {"EXECUTE PROCEDURE GRAVALOG (:CHAVE, :ARQ, :CAMPO, :USUARIO, :DATA, :VRANT, :VRATU)"});
}

std::string sqlPesqAtuFichaText() {
  return sqlLines(
      {"SELECT (SELECT SUM(GO.QTPED_IT) FROM ITENSPVGRADE GO INNER JOIN ITENSPV IO ON "
       "IO.PEDIDO_IT = GO.PEDIDO_IT  AND GO.ITEM_IT = IO.ITEM_IT WHERE IO.PROG_IT = :PROG AND "
       "IO.FICHA_IT = :FICHA) TOT_PARES_FICHA, ",
       "SUM(PS.QTDE_PS) TOT_PROD_SETOR", "FROM PRODUCAO_SETOR PS",
       "WHERE PS.PROG_PS = :PROG AND PS.FICHA_PS = :FICHA AND PS.SETOR_PS = :SETOR"});
}

std::string sqlAltSitItemProgText() {
  return sqlLines({"UPDATE ITENSPV I SET I.SIT_IT = :SIT", "WHERE I.PROG_IT = :PROG",
                   "AND I.FICHA_IT = :FICHA", "AND I.SIT_IT = 'P'",
                   "AND ( (I.STATUS_IT IS NULL) OR (I.STATUS_IT = '') )"});
}

}  // namespace

ItemRelease::ItemRelease(TVNClientDataSet& cdsSetor, StockPosting& estoque,
                         BoxLabelLookup localizarCodCxColet)
    : cdsSetor_(cdsSetor),
      estoque_(estoque),
      localizarCodCxColet_(std::move(localizarCodCxColet)),
      sqlTalaoLibItem(sqlTalaoLibItemText()),
      sqlSitItem(sqlSitItemText()),
      sqlAtuPed(sqlAtuPedText()),
      stpGravaLog(stpGravaLogText()),
      sqlPesqAtuFicha(sqlPesqAtuFichaText()),
      sqlAltSitItemProg(sqlAltSitItemProgText()) {}

void ItemRelease::DefinirConexao(db::Connection& connection) {
  connection_ = &connection;
  for (ModuleQuery* query : {&sqlTalaoLibItem, &sqlSitItem, &sqlAtuPed, &stpGravaLog,
                             &sqlPesqAtuFicha, &sqlAltSitItemProg}) {
    query->setConnection(&connection);
  }
}

void ItemRelease::LiberarItemTalao(std::int32_t codCxColet, std::int32_t filial,
                                   const db::Timestamp& dataHora, const std::string& usuario,
                                   const std::string& setor) {
  const std::optional<BoxLabelOrderItem> talao = localizarCodCxColet_(codCxColet);
  if (!talao) return;
  const std::string& pedido = talao->PEDIDO_CX;
  const std::string& item = talao->ITEMPED_CX;

  sqlTalaoLibItem.close();
  sqlTalaoLibItem.params().set("PEDIDO", pedido).set("ITEM", item).set("SETOR", setor);
  sqlTalaoLibItem.open();
  const bool vazio = sqlTalaoLibItem.isEmpty();
  const std::string liberarSe = vazio ? std::string() : sqlTalaoLibItem.row().text("LIBERAR_SE");
  const std::int64_t reg = vazio ? 0 : sqlTalaoLibItem.row().bigint("REG");
  const std::int64_t regAtu = vazio ? 0 : sqlTalaoLibItem.row().bigint("REG_ATU");
  if (liberarSe != "S" || reg != regAtu) return;

  db::TransactionScope transacao(*connection_);
  sqlSitItem.close();
  sqlSitItem.params().set("ped", pedido).set("item", item);
  sqlSitItem.open();
  const std::string situacao =
      sqlSitItem.isEmpty() ? std::string() : sqlSitItem.row().text("SIT_IT");
  if (situacao != "F") {
    sqlAtuPed.params().set("sit", "L").set("ped", pedido).set("item", item);
    sqlAtuPed.execute();
    stpGravaLog.params()
        .set("CHAVE", pedido + "|" + item)
        .set("ARQ", "ITENSPV")
        .set("CAMPO", "SIT_IT")
        .set("USUARIO", usuario)
        .set("DATA", dataHora)
        .set("VRANT", "LIBERA\xC7\xC3O AUTOM\xC1TICA PELA ATUALIZA\xC7\xC3O DO TALAO")
        .set("VRATU", "L");
    stpGravaLog.execute();
  }
  estoque_.LancarEstoqueProducao(filial, setor, dataHora, usuario, "", "", "", pedido, item);
  transacao.commit();
}

void ItemRelease::AtualizarSitItemEstoque(const std::string& prog, const std::string& ficha,
                                          const std::string& setor) {
  if (CampoDoSetor(cdsSetor_, setor, "ATU_SIT_ITEM_ESTOQUE_SE") != "S") return;
  if (!FichaCompletaNoSetor(prog, ficha, setor)) return;
  sqlAltSitItemProg.params().set("SIT", "E").set("PROG", prog).set("FICHA", ficha);
  sqlAltSitItemProg.execute();
}

bool ItemRelease::FichaCompletaNoSetor(const std::string& prog, const std::string& ficha,
                                       const std::string& setor) {
  sqlPesqAtuFicha.close();
  sqlPesqAtuFicha.params().set("PROG", prog).set("FICHA", ficha).set("SETOR", setor);
  sqlPesqAtuFicha.open();
  const db::Row& totais = sqlPesqAtuFicha.row();
  // Both sums compared exactly; a sum over no rows is null and counts as 0.
  const bool completa = StockQuantity::fromValue(totais.value("TOT_PROD_SETOR")) ==
                        StockQuantity::fromValue(totais.value("TOT_PARES_FICHA"));
  sqlPesqAtuFicha.close();
  return completa;
}

std::vector<NamedStatement> ItemRelease::Statements() {
  return {{"ItemRelease.sqlTalaoLibItem", sqlTalaoLibItemText()},
          {"ItemRelease.sqlSitItem", sqlSitItemText()},
          {"ItemRelease.sqlAtuPed", sqlAtuPedText()},
          {"ItemRelease.stpGravaLog", stpGravaLogText()},
          {"ItemRelease.sqlPesqAtuFicha", sqlPesqAtuFichaText()},
          {"ItemRelease.sqlAltSitItemProg", sqlAltSitItemProgText()}};
}

}  // namespace mts
