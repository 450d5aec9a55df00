#pragma once

#include <string>

namespace mts {

// The verdict of a validation step: whether the request may be posted and, when
// not, why (a Portuguese text for the terminal and the log).
struct TRetorno {
  bool Sucesso = false;
  std::string Mensagem;
};

}  // namespace mts
