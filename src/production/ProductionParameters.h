#pragma once

#include <cstdint>
#include <string>

namespace mts {

// The production parameters, read from PARAM once when the production module is
// created and fixed for its whole life. Each member is named by its PARAM_PA key;
// all are in group "ATU_PRODUCAO" except FILIAL_ESTOQUE ("PRODUCAO_ESTOQUE").
// A parameter without its row keeps the default of its type.
struct ProductionParameters {
  // Where the parts of a plain card code are (1-based position, length).
  std::int32_t PROG_POSINI = 0;
  std::int32_t PROG_TAM = 0;
  std::int32_t FICHA_POSINI = 0;
  std::int32_t FICHA_TAM = 0;
  std::int32_t SUBFICHA_POSINI = 0;
  std::int32_t SUBFICHA_TAM = 0;
  std::int32_t SETOR_POSINI = 0;  // 0 or less: codes carry no sector
  std::int32_t SETOR_TAM = 0;
  bool BAIXA_POR_TALAO = false;  // codes of 10 or 12 characters are box labels
  bool BLOQUEAR_ATU_PROG_ENCERRADA = false;
  std::string VALIDA_BX_REQ_MP_COD_SETOR_ATU;
  std::string VALIDA_BX_REQ_MP_COD_SETOR_MP;
  bool BAIXA_POR_SUBFICHA = false;
  bool BAIXA_PARCIAL = false;
  bool BAIXA_SETOR_ENTRADA = false;
  std::int32_t FILIAL_ESTOQUE = 0;
  bool VERIFICA_LIBERACAO_ITEM_TALAO = false;
  std::string SETOR_BX_FICHA_CORTE;  // comma-separated sectors that post cut cards
};

// Group of every production parameter but the stock branch.
inline constexpr const char* kGrupoAtuProducao = "ATU_PRODUCAO";
inline constexpr const char* kGrupoProducaoEstoque = "PRODUCAO_ESTOQUE";

// Company names (CONFIG.NOME_EMPRESA, compared exactly) that switch on a
// customer's own rules.
inline constexpr const char* kEmpresaBrisal = "BRISAL";  // entry/exit posting
inline constexpr const char* kEmpresaLumora = "LUMORA";  // box labels
inline constexpr const char* kEmpresaFentax = "FENTAX";  // 13-character codes starting with "3"

}  // namespace mts
