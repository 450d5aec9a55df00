#include "production/validation/CardPostings.h"

#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/datasets/DatasetText.h"

namespace mts {
namespace {

std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Texts compared as the database compares them: the shorter is taken as
// padded with blanks.
bool sameText(std::string_view a, std::string_view b) {
  return withoutTrailingBlanks(a) == withoutTrailingBlanks(b);
}

// The card's postings with the grouping of their sector, narrowed to a
// sub-card, a sector and a sub-production label when the posting names them.
std::vector<std::string> cdsProdSetorLines(bool comSubFicha, bool comSetor, bool comSubProd) {
  std::vector<std::string> lines = {"select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP",
                                    "from PRODUCAO_SETOR PS",
                                    "left join SETOR SE on SE.COD_SE = PS.SETOR_PS",
                                    "where PROG_PS=:PROG", "and FICHA_PS=:FICHA"};
  if (comSubFicha) lines.push_back("and SUBFICHA_PS=:SUBFICHA");
  if (comSetor) lines.push_back("and SETOR_PS=:SETOR");
  if (comSubProd) lines.push_back("and ID_SUBPROD_PS=:SUBPROD");
  return lines;
}

}  // namespace

CardPostings::CardPostings() {
  cdsProdSetor_.setKeyFields({"ID_PS"});
}

CardPostings::CardPostings(db::Connection& connection) : CardPostings() {
  DefinirConexao(connection);
}

void CardPostings::DefinirConexao(db::Connection& connection) {
  cdsProdSetor_.setSQLConnection(&connection);
}

void CardPostings::AbrirProdSetor(const std::string& prog, const std::string& ficha,
                                  const std::string& setor, std::int32_t idSubProd,
                                  const std::string& subFicha, bool possuiSubFicha) {
  fichaInteira_ = false;
  guardadas_.reset();
  cdsProdSetor_.close();
  db::Params& params = cdsProdSetor_.params();
  if (possuiSubFicha) params.set("SUBFICHA", subFicha);
  if (!setor.empty()) params.set("SETOR", setor);
  if (idSubProd > 0) params.set("SUBPROD", idSubProd);
  params.set("PROG", prog).set("FICHA", ficha);
  cdsProdSetor_.setSQL(cdsProdSetorLines(possuiSubFicha, !setor.empty(), idSubProd > 0));
  cdsProdSetor_.open();
}

bool CardPostings::CarregarFichaInteira(const std::string& prog, const std::string& ficha,
                                        std::int32_t idSubProd, bool possuiSubFicha) {
  if (!validando_ || possuiSubFicha || idSubProd > 0) return false;
  if (!fichaInteira_) {
    AbrirProdSetor(prog, ficha, std::string(), idSubProd, std::string(), false);
    fichaInteira_ = true;
    carregadas_ = {prog, ficha};
  }
  return true;
}

std::vector<db::Row> CardPostings::PostagensDoSetor(
    const std::string& prog, const std::string& ficha, const std::string& setor,
    std::int32_t idSubProd, const std::string& subFicha, bool possuiSubFicha) {
  const std::optional<Ficha> guardadas = std::exchange(guardadas_, std::nullopt);
  const bool reaproveitar = guardadas && *guardadas == Ficha{prog, ficha} && !possuiSubFicha &&
                            idSubProd <= 0 && !setor.empty();
  if (!reaproveitar) AbrirProdSetor(prog, ficha, setor, idSubProd, subFicha, possuiSubFicha);
  std::vector<db::Row> linhas;
  for (cdsProdSetor_.first(); !cdsProdSetor_.eof(); cdsProdSetor_.next()) {
    // The sector filter the statement would apply, with the database's
    // comparison of texts; a null sector matches none.
    if (!reaproveitar ||
        (!cdsProdSetor_.isNull("SETOR_PS") && sameText(cdsProdSetor_.text("SETOR_PS"), setor))) {
      linhas.push_back(cdsProdSetor_.currentRow());
    }
  }
  cdsProdSetor_.first();
  return linhas;
}

bool CardPostings::PostadaNoSetor(const std::string& setor) {
  bool postada = false;
  for (cdsProdSetor_.first(); !postada && !cdsProdSetor_.eof(); cdsProdSetor_.next()) {
    postada = sameText(cdsProdSetor_.text("SETOR_PS"), setor);
  }
  cdsProdSetor_.first();
  return postada;
}

int CardPostings::SubfichasNoSetor(const std::string& setor) {
  int subfichas = 0;
  for (cdsProdSetor_.first(); !cdsProdSetor_.eof(); cdsProdSetor_.next()) {
    // A null sub-card is no sub-card, as "<> '0000'" leaves it out.
    if (sameText(cdsProdSetor_.text("SETOR_PS"), setor) && !cdsProdSetor_.isNull("SUBFICHA_PS") &&
        !sameText(cdsProdSetor_.text("SUBFICHA_PS"), "0000")) {
      ++subfichas;
    }
  }
  cdsProdSetor_.first();
  return subfichas;
}

bool CardPostings::LocalizarSetor(const std::string& setor) {
  return cdsProdSetor_.locate("SETOR_PS", db::Value(setor));
}

std::vector<NamedStatement> CardPostings::Statements() {
  return {{"CardPostings.cdsProdSetor card all sectors",
           dataset_text::joinLines(cdsProdSetorLines(false, false, false))},
          {"CardPostings.cdsProdSetor subproduction all sectors",
           dataset_text::joinLines(cdsProdSetorLines(false, false, true))},
          {"CardPostings.cdsProdSetor card in sector",
           dataset_text::joinLines(cdsProdSetorLines(false, true, false))},
          {"CardPostings.cdsProdSetor subcard in sector",
           dataset_text::joinLines(cdsProdSetorLines(true, true, false))},
          {"CardPostings.cdsProdSetor subproduction in sector",
           dataset_text::joinLines(cdsProdSetorLines(false, true, true))}};
}

}  // namespace mts
