#include "production/validation/SectorSequence.h"

#include <vector>

#include "production/validation/ValidationText.h"

namespace mts {

namespace {

std::string sqlSetorFuncText() {
  return sqlLines(
      {"select",
       "(select first 1 1 from SETOR_FUNCIONARIO where SETOR_SF = :SETOR) as POSSUI_LISTA,",
       "(select first 1 FUNCIONARIO_SF from SETOR_FUNCIONARIO where SETOR_SF = :SETOR",
       "and FUNCIONARIO_SF = cast(:FUNCIONARIO as varchar(1000))) as FUNCIONARIO_SF",
       "from RDB$DATABASE"});
}

std::string sqlItensPvText() {
  return sqlLines({"select PROD_IT, PADRON_IT,",
                   "(select DESC_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as DESC_PROD,",
                   "(select DESC_PP from PADRONIZ_PRODUTO PA where PA.PROD_PP = IT.PROD_IT and "
                   "PA.PADRONIZ_PP = IT.PADRON_IT) as DESC_PAD,",
                   "(select SETORINICIAL_PR from PRODUTO PR where PR.COD_PR = IT.PROD_IT) as "
                   "SETOR_INICIAL",
                   "from ITENSPV IT", "where PROG_IT=:PROG", "and FICHA_IT=:FICHA"});
}

std::string sqlSetorProdText() {
  return sqlLines({"SELECT PS.CODIGO_SETOR_PS ", "FROM PRODUTO_SETOR PS",
                   "LEFT JOIN SETOR SE ON SE.COD_SE = PS.CODIGO_SETOR_PS",
                   "WHERE PS.CODIGO_PRODUTO_PS = :PROD", "AND SE.SEQPROD_SE = 'S'"});
}

// Postings of the card in one sector; a sub-card also counts the whole
// card's, written with sub-card "0000".
std::string sqlSetAntAtuText(bool possuiSubFicha) {
  std::vector<std::string> lines = {"select SETOR_PS from PRODUCAO_SETOR PS", "where PROG_PS=:PROG",
                                    "and FICHA_PS=:FICHA"};
  if (possuiSubFicha) lines.push_back("and ((SUBFICHA_PS=:SUBFICHA) or (SUBFICHA_PS='0000'))");
  lines.push_back("and SETOR_PS=:SETOR");
  return joinSqlLines(lines);
}

// The name of a grouping sector, for the refusal that names it.
std::string sqlNomeAgrupamentoText() {
  return sqlLines({"SELECT S.nome_se FROM SETOR S", "WHERE S.cod_se = :SETOR"});
}

}  // namespace

SectorSequence::SectorSequence(TVNClientDataSet& cdsSetor, SectorGroups& grupos,
                               const TDadosAtuProducao& dados)
    : cdsSetor_(cdsSetor),
      grupos_(grupos),
      dados_(dados),
      sqlSetorFunc(sqlSetorFuncText()),
      sqlItensPv(sqlItensPvText()),
      sqlSetorProd(sqlSetorProdText()),
      sqlSetAntAtu("") {}

void SectorSequence::DefinirConexao(db::Connection& connection) {
  for (ModuleQuery* query : {&sqlSetorFunc, &sqlItensPv, &sqlSetorProd, &sqlSetAntAtu})
    query->setConnection(&connection);
}

bool SectorSequence::ValidarSetorFuncionario(std::string& mensagem) {
  if (dados_.Setor.empty()) {
    mensagem = "O Setor n\xE3o foi informado.";
    return false;
  }
  if (dados_.Funcionario.empty()) {
    mensagem = "O Funcion\xE1rio n\xE3o foi informado.";
    return false;
  }
  if (!cdsSetor_.locate("COD_SE", db::Value(dados_.Setor))) {
    mensagem = "Setor \"" + dados_.Setor + "\" n\xE3o faz parte da Sequ\xEAncia de Produ\xE7\xE3o";
    return false;
  }

  // Read by key, whatever the size of the sector's list: whether it has one,
  // and his row in it. A sector without an employee list admits everybody. The
  // database compares with its padding rules, so the code found must still be
  // his byte for byte.
  sqlSetorFunc.close();
  sqlSetorFunc.params().set("SETOR", dados_.Setor).set("FUNCIONARIO", dados_.Funcionario);
  sqlSetorFunc.open();
  const db::Row& lista = sqlSetorFunc.row();
  const bool admitido =
      lista.isNull("POSSUI_LISTA") ||
      (!lista.isNull("FUNCIONARIO_SF") && lista.text("FUNCIONARIO_SF") == dados_.Funcionario);
  sqlSetorFunc.close();
  if (!admitido) mensagem = "Setor \"" + dados_.Setor + "\" inv\xE1lido para o Funcionario.";
  return admitido;
}

bool SectorSequence::ValidarTipoAtuSetor(std::string& mensagem) {
  if (!cdsSetor_.locate("COD_SE", db::Value(dados_.Setor))) return false;
  if (sectorAcceptsKind(cdsSetor_.text("TIPO_ATU_PRODUCAO_SETOR_SE"), dados_.TipoAtualizacao)) {
    return true;
  }
  mensagem = "Tipo de Atualiza\xE7\xE3o Inv\xE1lida para o Setor.";
  return false;
}

void SectorSequence::AbrirItemFicha() {
  setoresDoProdutoDoItem_ = false;
  sqlItensPv.close();
  sqlItensPv.params().set("PROG", dados_.Prog).set("FICHA", dados_.Ficha);
  sqlItensPv.open();
}

std::string SectorSequence::ProdutoItem() const {
  return sqlItensPv.eof() ? std::string() : sqlItensPv.row().text("PROD_IT");
}

std::string SectorSequence::SetorInicial() const {
  return sqlItensPv.eof() ? std::string() : sqlItensPv.row().text("SETOR_INICIAL");
}

bool SectorSequence::ValidarSetorProduto(const std::string& produto, std::string& mensagem) {
  sqlSetorProd.close();
  sqlSetorProd.params().set("PROD", produto);
  sqlSetorProd.open();
  setoresDoProdutoDoItem_ = produto == ProdutoItem();
  if (sqlSetorProd.isEmpty()) return true;
  for (const db::Row& row : sqlSetorProd.rows()) {
    if (row.text("CODIGO_SETOR_PS") == dados_.Setor) return true;
  }
  mensagem = "Produto n\xE3o atualiza no setor \"" + dados_.Setor + "\".";
  return false;
}

bool SectorSequence::ValidarSetoresAnteriores(std::string& mensagem) {
  if (!cdsSetor_.locate("COD_SE", db::Value(dados_.Setor))) return true;
  std::string anteriores = FiltrarSetoresAnteriores(cdsSetor_.text("SETORANT_SE"));
  const int ordem = cdsSetor_.integer("ORDEM_SE");

  // An initial sector outside the sequence is not found and leaves the search
  // on the request's own sector, so its order is the sector's own.
  const std::string inicial = SetorInicial();
  int ordemInicial = ordem;
  if (!inicial.empty()) {
    cdsSetor_.locate("COD_SE", db::Value(inicial));
    ordemInicial = cdsSetor_.integer("ORDEM_SE");
  }
  if (!inicial.empty() && ordem < ordemInicial) {
    mensagem = "O setor possui ordem inferior ao setor inicial.";
    return false;
  }

  while (!anteriores.empty()) {
    const std::string anterior = takeFirstSector(anteriores);
    if (!cdsSetor_.locate("COD_SE", db::Value(anterior))) {
      mensagem = "Setor anterior \"" + anterior + "\" inv\xE1lido.";
      return false;
    }
    // Sectors placed before the product's initial sector are not on its route.
    const bool exigido = inicial.empty() || cdsSetor_.integer("ORDEM_SE") >= ordemInicial;
    if (exigido && !SetorAnteriorAtualizado(anterior, mensagem)) return false;
  }
  return true;
}

std::string SectorSequence::FiltrarSetoresAnteriores(const std::string& setoresAnteriores) {
  if (setoresAnteriores.empty()) return setoresAnteriores;
  // The product check of the same card has usually just read this list.
  if (!setoresDoProdutoDoItem_ || !sqlSetorProd.isOpen()) {
    sqlSetorProd.close();
    sqlSetorProd.params().set("PROD", ProdutoItem());
    sqlSetorProd.open();
    setoresDoProdutoDoItem_ = true;
  }
  std::vector<std::string> setoresProduto;
  for (const db::Row& row : sqlSetorProd.rows()) {
    setoresProduto.push_back(row.text("CODIGO_SETOR_PS"));
  }
  return keepProductSectors(setoresAnteriores, setoresProduto);
}

void SectorSequence::abrirPostagensSetor(const std::string& subFicha, const std::string& setor) {
  prepararPostagensSetor(subFicha, setor);
  sqlSetAntAtu.open();
}

void SectorSequence::prepararPostagensSetor(const std::string& subFicha, const std::string& setor) {
  if (dados_.PossuiSubFicha) sqlSetAntAtu.params().set("SUBFICHA", subFicha);
  sqlSetAntAtu.setSql(sqlSetAntAtuText(dados_.PossuiSubFicha));
  sqlSetAntAtu.params().set("PROG", dados_.Prog).set("FICHA", dados_.Ficha).set("SETOR", setor);
}

void SectorSequence::reabrirPostagensSetor(const std::string& setor) {
  sqlSetAntAtu.close();
  sqlSetAntAtu.params().set("SETOR", setor);
  sqlSetAntAtu.open();
}

CardPostings* SectorSequence::postagensDaFichaInteira() {
  if (postagens_ == nullptr) return nullptr;
  const bool carregadas = postagens_->CarregarFichaInteira(dados_.Prog, dados_.Ficha,
                                                           dados_.IdSubProd, dados_.PossuiSubFicha);
  return carregadas ? postagens_ : nullptr;
}

bool SectorSequence::SetorAnteriorAtualizado(const std::string& setor, std::string& mensagem) {
  bool atualizado = false;
  if (CardPostings* postagens = postagensDaFichaInteira()) {
    atualizado = postagens->PostadaNoSetor(setor);
  } else {
    abrirPostagensSetor(dados_.SubFicha, setor);
    atualizado = !sqlSetAntAtu.isEmpty();
  }

  // The members just read serve the group check too: nothing is written in
  // between, so reading them again would read the same rows.
  if (grupos_.AbrirSetoresAgrupamento(setor)) return MembroDoAgrupamentoAtualizado(setor, mensagem);

  if (!atualizado)
    mensagem = "O setor \"" + cdsSetor_.text("NOME_SE") + "\" n\xE3o foi atualizado.";
  return atualizado;
}

bool SectorSequence::AgrupamentoAtualizado(const std::string& setor, std::string& mensagem) {
  grupos_.AbrirSetoresAgrupamento(setor);
  return MembroDoAgrupamentoAtualizado(setor, mensagem);
}

bool SectorSequence::MembroDoAgrupamentoAtualizado(const std::string& setor,
                                                   std::string& mensagem) {
  // A grouping sector is satisfied by its members only, never by itself; a
  // sub-card is tried first with its own value, then with none. Only each
  // member's postings are read: the statement is shaped for the sub-card
  // value and then run per member. A whole card's rows answer for every
  // member at once (its sub-card value plays no part).
  if (CardPostings* postagens = postagensDaFichaInteira()) {
    for (const db::Row& membro : grupos_.Membros()) {
      if (postagens->PostadaNoSetor(membro.text("COD_SE"))) return true;
    }
  } else {
    for (const std::string& subFicha : {dados_.SubFicha, std::string()}) {
      prepararPostagensSetor(subFicha, setor);
      for (const db::Row& membro : grupos_.Membros()) {
        reabrirPostagensSetor(membro.text("COD_SE"));
        if (!sqlSetAntAtu.isEmpty()) return true;
      }
    }
  }

  sqlSetAntAtu.setSql(sqlNomeAgrupamentoText());
  sqlSetAntAtu.params().set("SETOR", setor);
  sqlSetAntAtu.open();
  const std::string nome =
      sqlSetAntAtu.isEmpty() ? std::string() : sqlSetAntAtu.row().text("NOME_SE");
  mensagem = "Os setores do agrupamento \"" + nome + "\" " + " n\xE3o foram atualizados.";
  return false;
}

std::vector<NamedStatement> SectorSequence::Statements() {
  return {{"SectorSequence.sqlSetorFunc", sqlSetorFuncText()},
          {"SectorSequence.sqlItensPv", sqlItensPvText()},
          {"SectorSequence.sqlSetorProd", sqlSetorProdText()},
          {"SectorSequence.sqlSetAntAtu card", sqlSetAntAtuText(false)},
          {"SectorSequence.sqlSetAntAtu subcard", sqlSetAntAtuText(true)},
          {"SectorSequence.sqlSetAntAtu group name", sqlNomeAgrupamentoText()}};
}

}  // namespace mts
