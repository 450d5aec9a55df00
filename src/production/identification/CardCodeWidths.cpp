#include "production/identification/CardCodeWidths.h"

namespace mts {

namespace {

struct CodePart {
  const char* name;
  const std::string& value;
  std::size_t width;
};

}  // namespace

bool CodigoCabeNasColunas(const TDadosAtuProducao& dados, std::string& mensagem) {
  const CodePart parts[] = {
      {"Programa", dados.Prog, kProgWidth},
      {"Ficha", dados.Ficha, kFichaWidth},
      {"Subficha", dados.SubFicha, kSubFichaWidth},
      {"Setor", dados.Setor, kSetorWidth},
      {"Opera\xE7\xE3o", dados.Operacao, kOperacaoWidth},
  };
  for (const CodePart& part : parts) {
    // Texts are single-byte Windows-1252, so bytes are characters.
    if (part.value.size() <= part.width) continue;
    mensagem = std::string(
                   "C\xF3"
                   "digo inv\xE1lido: ") +
               part.name + " com mais de " + std::to_string(part.width) + " caracteres.";
    return false;
  }
  return true;
}

}  // namespace mts
