#include "production/validation/CardPostings.h"

#include <string>
#include <vector>

namespace mts {

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
  cdsProdSetor_.close();
  std::vector<std::string> lines = {"select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP",
                                    "from PRODUCAO_SETOR PS",
                                    "left join SETOR SE on SE.COD_SE = PS.SETOR_PS",
                                    "where PROG_PS=:PROG", "and FICHA_PS=:FICHA"};
  db::Params& params = cdsProdSetor_.params();
  if (possuiSubFicha) {
    lines.push_back("and SUBFICHA_PS=:SUBFICHA");
    params.set("SUBFICHA", subFicha);
  }
  if (!setor.empty()) {
    lines.push_back("and SETOR_PS=:SETOR");
    params.set("SETOR", setor);
  }
  if (idSubProd > 0) {
    lines.push_back("and ID_SUBPROD_PS=:SUBPROD");
    params.set("SUBPROD", idSubProd);
  }
  params.set("PROG", prog).set("FICHA", ficha);
  cdsProdSetor_.setSQL(std::move(lines));
  cdsProdSetor_.open();
}

bool CardPostings::LocalizarSetor(const std::string& setor) {
  return cdsProdSetor_.locate("SETOR_PS", db::Value(setor));
}

}  // namespace mts
