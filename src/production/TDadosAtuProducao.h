#pragma once

#include <cstdint>
#include <string>

#include "dataaccess/firebird/Value.h"

namespace mts {

// One production posting request, from the card code read at a terminal until
// the posting is written. A plain value: copying copies every member.
//
// Identification fills the card members (Setor to FichaCorte); the card
// submission adds Funcionario; validation fills the posting members (CampoData
// to VerificaLiberacaoItemTalao); recording only reads.
struct TDadosAtuProducao {
  std::string Setor;               // SETOR.COD_SE of the posting sector
  std::string Funcionario;         // FUNCIONARIO.CODIGO_FU of the employee at the terminal
  std::string TipoAtualizacao;     // card kind: "F", "S", "T", "I", "FC" or "O"
  std::string TipoOperacaoSetor;   // SETOR.TIPO_OPERACAO_SE of Setor
  std::string Prog;                // programme number
  std::string Ficha;               // card number
  std::string SubFicha;            // sub-card number, "0000" for none; a box label's TALAO_CX
  std::string Operacao;            // PRODUCAO_OP_SETOR.OPERACAO_OS of an operation card
  std::int32_t IdSubProd = 0;      // SUBPROD.ID_PR of a sub-production label
  std::int32_t IdFichaCorte = 0;   // FICHA_CORTE.ID_FC of a cut card
  std::int32_t CodCxColet = 0;     // CODCXCOLET.CODIGO_CX of a box label
  bool PossuiSubFicha = false;     // SubFicha is not "0000"
  bool FichaCorte = false;         // a cut card (kind "FC")
  std::string CampoData;           // PRODUCAO_SETOR date column to fill: DTSAIDA_PS or DTENTRADA_PS
  std::string CampoHora;           // hour column: HORASAIDA_PS or HORAENTRADA_PS
  bool BaixaSetorEntrada = false;  // entry/exit posting mode
  db::Timestamp DataHora;          // the database server's time of the posting
  double Qtde = 0;                 // pairs to post
  std::int32_t FilialEstoque = 0;  // stock branch (0 or less: no stock posting)
  bool VerificaLiberacaoItemTalao = false;  // box labels go through the item release
};

}  // namespace mts
