#include "production/validation/PostedThing.h"

#include <string_view>

namespace mts {
namespace {

std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

PostedThing PostedThing::OfRequest(const TDadosAtuProducao& dados) {
  return {dados.SubFicha, dados.CodCxColet, dados.IdSubProd, 0};
}

PostedThing PostedThing::OfRow(const db::Row& row) {
  return {row.text("SUBFICHA_PS"), row.integer("CODCXCOLET_PS"), row.integer("ID_SUBPROD_PS"),
          row.integer("SUBPROD_MPRIMA_ID_PS")};
}

bool operator==(const PostedThing& a, const PostedThing& b) {
  return withoutTrailingBlanks(a.SubFicha) == withoutTrailingBlanks(b.SubFicha) &&
         a.CodCxColet == b.CodCxColet && a.IdSubProd == b.IdSubProd &&
         a.IdSubProdMPrima == b.IdSubProdMPrima;
}

}  // namespace mts
