#include "production/recording/SectorPostingRules.h"

#include <cstdio>
#include <stdexcept>

namespace mts {

std::string HoraMinuto(const db::Timestamp& momento) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", momento.hour, momento.minute);
  return text;
}

void VerificarColunasDataHora(const std::string& campoData, const std::string& campoHora) {
  const bool saida = campoData == "DTSAIDA_PS" && campoHora == "HORASAIDA_PS";
  const bool entrada = campoData == "DTENTRADA_PS" && campoHora == "HORAENTRADA_PS";
  if (!saida && !entrada) {
    throw std::invalid_argument("not a posting date and hour column pair: \"" + campoData +
                                "\", \"" + campoHora + "\"");
  }
}

SectorPostingChange EscolherAlteracao(bool baixaSetorEntrada, const std::string& campoData,
                                      const PostedThing& thing,
                                      const std::vector<LoadedSectorPosting>& postings) {
  if (!baixaSetorEntrada || campoData == "DTENTRADA_PS") return {};
  for (const LoadedSectorPosting& posting : postings) {
    if (!posting.hasExit && posting.thing == thing) {
      return {SectorPostingChange::Kind::CompleteExit, posting.ID_PS};
    }
  }
  return {};
}

}  // namespace mts
