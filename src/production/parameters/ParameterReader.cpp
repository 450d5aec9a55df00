#include "production/parameters/ParameterReader.h"

#include <utility>

#include "production/ParameterConversion.h"

namespace mts {

namespace {

std::string sqlParamText() {
  return sqlLines({"select VALOR_PA from PARAM where GRUPO_PA = :GRUPO and PARAM_PA = :PARAM"});
}

std::string sqlConfigText() {
  return sqlLines({"SELECT NOME_EMPRESA FROM CONFIG"});
}

}  // namespace

ParameterReader::ParameterReader() : sqlParam(sqlParamText()), sqlConfig(sqlConfigText()) {}

void ParameterReader::DefinirConexao(db::Connection& connection) {
  sqlParam.setConnection(&connection);
  sqlConfig.setConnection(&connection);
}

std::string ParameterReader::LerParametro(const std::string& grupo, const std::string& parametro) {
  sqlParam.close();
  sqlParam.params().set("GRUPO", grupo).set("PARAM", parametro);
  sqlParam.open();
  std::string valor = sqlParam.isEmpty() ? std::string() : sqlParam.row().text("VALOR_PA");
  sqlParam.close();
  return valor;
}

std::int32_t ParameterReader::LerParametroInt(const std::string& grupo,
                                              const std::string& parametro) {
  return integerFromText(LerParametro(grupo, parametro));
}

void ParameterReader::CarregarParametros(ProductionParameters& p) {
  const std::string atu = kGrupoAtuProducao;
  auto flag = [&](const char* name) { return flagFromText(LerParametro(atu, name)); };

  p.PROG_POSINI = LerParametroInt(atu, "PROG_POSINI");
  p.PROG_TAM = LerParametroInt(atu, "PROG_TAM");
  p.FICHA_POSINI = LerParametroInt(atu, "FICHA_POSINI");
  p.FICHA_TAM = LerParametroInt(atu, "FICHA_TAM");
  p.SUBFICHA_POSINI = LerParametroInt(atu, "SUBFICHA_POSINI");
  p.SUBFICHA_TAM = LerParametroInt(atu, "SUBFICHA_TAM");
  p.SETOR_POSINI = LerParametroInt(atu, "SETOR_POSINI");
  p.SETOR_TAM = LerParametroInt(atu, "SETOR_TAM");
  p.BAIXA_POR_TALAO = flag("BAIXA_POR_TALAO");
  p.BLOQUEAR_ATU_PROG_ENCERRADA = flag("BLOQUEAR_ATU_PROG_ENCERRADA");
  p.VALIDA_BX_REQ_MP_COD_SETOR_ATU = LerParametro(atu, "VALIDA_BX_REQ_MP_COD_SETOR_ATU");
  p.VALIDA_BX_REQ_MP_COD_SETOR_MP = LerParametro(atu, "VALIDA_BX_REQ_MP_COD_SETOR_MP");
  p.BAIXA_POR_SUBFICHA = flag("BAIXA_POR_SUBFICHA");
  p.BAIXA_PARCIAL = flag("BAIXA_PARCIAL");
  p.BAIXA_SETOR_ENTRADA = flag("BAIXA_SETOR_ENTRADA");
  p.FILIAL_ESTOQUE = LerParametroInt(kGrupoProducaoEstoque, "FILIAL_ESTOQUE");
  p.VERIFICA_LIBERACAO_ITEM_TALAO = flag("VERIFICA_LIBERACAO_ITEM_TALAO");
  p.SETOR_BX_FICHA_CORTE = LerParametro(atu, "SETOR_BX_FICHA_CORTE");
}

std::string ParameterReader::NomeEmpresa() {
  sqlConfig.close();
  sqlConfig.open();
  std::string nome = sqlConfig.isEmpty() ? std::string() : sqlConfig.row().text("NOME_EMPRESA");
  sqlConfig.close();
  return nome;
}

std::string ParameterReader::NomeEmpresaParaFicha() {
  nomeEmpresaDaFicha_ = NomeEmpresa();
  return *nomeEmpresaDaFicha_;
}

std::string ParameterReader::NomeEmpresaDaFicha() {
  std::optional<std::string> guardado = std::exchange(nomeEmpresaDaFicha_, std::nullopt);
  return guardado ? std::move(*guardado) : NomeEmpresa();
}

std::vector<NamedStatement> ParameterReader::Statements() {
  return {{"ParameterReader.sqlParam", sqlParamText()},
          {"ParameterReader.sqlConfig", sqlConfigText()}};
}

}  // namespace mts
