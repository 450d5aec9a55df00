// Where the provider writes changes: the table named by the query text.
#include <gtest/gtest.h>

#include "dataaccess/datasets/DatasetProvider.h"

namespace mts {
namespace {

TEST(DatasetProvider, TableNameIsTheFirstTableOutsideParentheses) {
  struct Case {
    std::string sql;
    std::string table;
  };
  const Case cases[] = {
      {"select * from SETOR where SEQPROD_SE='S' order by ORDEM_SE", "SETOR"},
      {"SELECT F.CRACHA_FU, F.CODIGO_FU, F.NOME_FU,\r\n"
       "(SELECT FIRST 1 S.SETOR_SF FROM SETOR_FUNCIONARIO S WHERE S.FUNCIONARIO_SF = "
       "F.CODIGO_FU) SETOR_FUNC\r\nFROM FUNCIONARIO F WHERE F.CRACHA_FU <> ''",
       "FUNCIONARIO"},
      {"select PS.*, SE.SETOR_AGRUP_SE as SETOR_AGRUP\r\nfrom PRODUCAO_SETOR PS\r\n"
       "left join SETOR SE on SE.COD_SE = PS.SETOR_PS",
       "PRODUCAO_SETOR"},
      {"select 'from X' as A, B -- from Y\r\n/* from Z */ From\tITENSPV IT", "ITENSPV"},
      {"select * from \"Mixed Case\" m", "\"Mixed Case\""},
      {"select 1 from rdb$database", "rdb$database"},
      {"select cast('now' as TIMESTAMP)", ""},
      {"select * from (select 1 from T)", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DatasetProvider::TableNameFromSQL(c.sql), c.table) << c.sql;
}

}  // namespace
}  // namespace mts
