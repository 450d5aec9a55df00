#pragma once

#include <string>

#include "production/TDadosAtuProducao.h"

namespace mts {

// The widths of the columns the parts of an identified card are written to and
// compared with (PROG_*, FICHA_*, SUBFICHA_*, SETOR_*, OPERACAO_*). The database
// refuses a longer value with a truncation error, which would end the card with
// a database fault instead of an answer on the terminal.
inline constexpr std::size_t kProgWidth = 6;
inline constexpr std::size_t kFichaWidth = 4;
inline constexpr std::size_t kSubFichaWidth = 4;
inline constexpr std::size_t kSetorWidth = 2;
inline constexpr std::size_t kOperacaoWidth = 4;

// True when every text part of `dados` fits its column. Otherwise false with
// `mensagem` naming the first part that does not fit (Windows-1252 text).
bool CodigoCabeNasColunas(const TDadosAtuProducao& dados, std::string& mensagem);

}  // namespace mts
