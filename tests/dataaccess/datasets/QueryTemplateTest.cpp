// The template algorithms of TVNSQLQuery: no database involved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dataaccess/datasets/VNSQLQuery.h"

namespace mts {
namespace {

using Lines = std::vector<std::string>;

struct Criterion {
  std::string text;
  bool enabled = true;
};

struct ExpansionCase {
  std::string title;
  Lines sql;
  std::vector<std::pair<std::string, std::string>> values;  // string parameter values
  std::vector<Criterion> criteria;
  Lines expected;
};

void PrintTo(const ExpansionCase& c, std::ostream* os) {
  *os << c.title;
}

class ExpandirSQL : public testing::TestWithParam<ExpansionCase> {};

TEST_P(ExpandirSQL, BuildsTheExecutedText) {
  const ExpansionCase& c = GetParam();
  TVNSQLQuery query;
  query.setSQL(c.sql);
  TCriteria criteria;
  for (const auto& criterion : c.criteria) criteria.add("", criterion.text, criterion.enabled);
  query.setCriteria(criteria);
  query.ExtrairStringParams();
  for (const auto& [name, value] : c.values) {
    ASSERT_NE(query.StringParams().find(name), nullptr) << name;
    query.StringParams().find(name)->setValue(value);
  }

  query.ExpandirSQL();

  EXPECT_EQ(query.ExecutedSQL(), c.expected);
  EXPECT_EQ(query.SQL(), c.sql) << "the template is never rewritten";
}

const std::string kAcuteWhere = "\xB4WHERE\xB4";

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandirSQL,
    testing::Values(
        ExpansionCase{"no placeholder and no criterion: text unchanged",
                      {"select * from SETOR", "where SEQPROD_SE='S' order by ORDEM_SE"},
                      {},
                      {},
                      {"select * from SETOR", "where SEQPROD_SE='S' order by ORDEM_SE"}},
        ExpansionCase{"a placeholder used twice gets its value in both places",
                      {"select * from [TABELA] T", "where T.ID in (select ID from [TABELA])"},
                      {{"TABELA", "SETOR"}},
                      {},
                      {"select * from SETOR T", "where T.ID in (select ID from SETOR)"}},
        ExpansionCase{"placeholders are case-sensitive and an unset one becomes empty",
                      {"select [Col], [COL] from T"},
                      {{"COL", "B"}},
                      {},
                      {"select , B from T"}},
        ExpansionCase{"two criteria and ORDER BY on one line without WHERE",
                      {"SELECT * FROM CLIENTE ORDER BY NOME"},
                      {},
                      {{"ATIVO = 'S'"}, {"CIDADE = 'X'"}},
                      {"SELECT * FROM CLIENTE ", "WHERE", "       ATIVO = 'S' AND ",
                       "       CIDADE = 'X'", "ORDER BY NOME"}},
        ExpansionCase{"a lower-case where is not recognised: WHERE gets a line of its own",
                      {"select * from CLIENTE where ATIVO = 'S'"},
                      {},
                      {{"CIDADE = 'X'"}},
                      {"select * from CLIENTE where ATIVO = 'S'", "WHERE", "       CIDADE = 'X'"}},
        ExpansionCase{"a disabled criterion contributes nothing",
                      {"SELECT * FROM CLIENTE"},
                      {},
                      {{"A = 1", false}, {"B = 2"}, {"C = 3", false}},
                      {"SELECT * FROM CLIENTE", "WHERE", "       B = 2"}},
        ExpansionCase{"every criterion disabled: no WHERE is added",
                      {"SELECT * FROM CLIENTE ORDER BY NOME"},
                      {},
                      {{"A = 1", false}, {"B = 2", false}},
                      {"SELECT * FROM CLIENTE ORDER BY NOME"}},
        ExpansionCase{"criteria go after the first line holding a capital WHERE",
                      {"SELECT * FROM CLIENTE WHERE", "ORDER BY NOME"},
                      {},
                      {{"A = 1"}},
                      {"SELECT * FROM CLIENTE WHERE", "       A = 1", "ORDER BY NOME"}},
        ExpansionCase{"the acute-accent marker chooses the WHERE and becomes one",
                      {"SELECT A, (SELECT MAX(B) FROM U WHERE U.ID = T.ID) M",
                       "FROM T " + kAcuteWhere, "ORDER BY A"},
                      {},
                      {{"T.X = 1"}},
                      {"SELECT A, (SELECT MAX(B) FROM U WHERE U.ID = T.ID) M", "FROM T ", "WHERE",
                       "       T.X = 1", "ORDER BY A"}},
        ExpansionCase{
            "WHERE goes before GROUP BY, which comes off the line as ORDER BY does",
            {"SELECT A, COUNT(*) FROM T GROUP BY A ORDER BY A"},
            {},
            {{"B = 1"}},
            {"SELECT A, COUNT(*) FROM T ", "WHERE", "       B = 1", "GROUP BY A ", "ORDER BY A"}},
        ExpansionCase{"placeholders inside criteria are filled too",
                      {"SELECT * FROM [TAB]"},
                      {{"TAB", "PEDIDO"}, {"NUM", "42"}},
                      {{"NUM_PV = [NUM]"}},
                      {"SELECT * FROM PEDIDO", "WHERE", "       NUM_PV = 42"}},
        ExpansionCase{"an unterminated [ is left as it is",
                      {"select [COLS] from T where A = '['"},
                      {{"COLS", "A, B"}},
                      {},
                      {"select A, B from T where A = '['"}}));

struct ExtractionCase {
  std::string title;
  Lines sql;
  std::vector<std::string> criteria;
  std::vector<std::string> expectedNames;
};

void PrintTo(const ExtractionCase& c, std::ostream* os) {
  *os << c.title;
}

class ExtrairStringParams : public testing::TestWithParam<ExtractionCase> {};

TEST_P(ExtrairStringParams, CollectsEachNameOnce) {
  const ExtractionCase& c = GetParam();
  TVNSQLQuery query;
  TCriteria criteria;
  for (const auto& text : c.criteria) criteria.add("", text);
  query.setCriteria(criteria);
  query.setSQL(c.sql);

  std::vector<std::string> names;
  for (const auto& param : query.StringParams()) {
    names.push_back(param.Name());
    EXPECT_EQ(param.Value(), "");
  }
  EXPECT_EQ(names, c.expectedNames);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtrairStringParams,
    testing::Values(ExtractionCase{"no [ gives no parameter", {"select * from T"}, {}, {}},
                    ExtractionCase{"template first, then criteria, in order, without repeats",
                                   {"select [B] from [A]", "where X = [B]"},
                                   {"Y = [C]", "Z = [A]"},
                                   {"B", "A", "C"}},
                    ExtractionCase{
                        "names are case-sensitive", {"[Nome] [NOME] [Nome]"}, {}, {"Nome", "NOME"}},
                    ExtractionCase{"the name runs to the next ]", {"[a[b] c]"}, {}, {"a[b"}},
                    ExtractionCase{"an unterminated [ in the template ends its scan",
                                   {"select [A] from T where X = '['"},
                                   {"[C]"},
                                   {"A", "C"}},
                    ExtractionCase{"an unterminated [ in a criterion ends only that criterion",
                                   {"select * from T"},
                                   {"X = '[", "Y = [D]"},
                                   {"D"}},
                    ExtractionCase{"a lone [ at the very end", {"["}, {"]["}, {}}));

TEST(TVNSQLQuerySQL, SettingTheSameTextStillEmptiesTheValues) {
  TVNSQLQuery query;
  query.setSQL({"select * from [T]"});
  query.StringParams().find("T")->setValue("SETOR");
  query.StringParams().add("EXTRA", "x");

  query.setSQL({"select * from [T]"});

  ASSERT_EQ(query.StringParams().size(), 1u);
  EXPECT_EQ(query.StringParams()[0].Name(), "T");
  EXPECT_EQ(query.StringParams()[0].Value(), "");
}

TEST(TVNSQLQuerySQL, NewTextReplacesTheTemplateAndItsParameters) {
  TVNSQLQuery query;
  query.setSQL({"select * from [T]"});
  query.setSQL({"select [C] from X", "where [D] = 1"});
  EXPECT_EQ(query.SQL(), (Lines{"select [C] from X", "where [D] = 1"}));
  ASSERT_EQ(query.StringParams().size(), 2u);
  EXPECT_EQ(query.StringParams()[0].Name(), "C");
  EXPECT_EQ(query.StringParams()[1].Name(), "D");
}

TEST(TVNSQLQuerySQL, LoadedCollectsAgainFromScratch) {
  TVNSQLQuery query;
  query.setSQL({"select [A] from T"});
  query.StringParams().add("STALE");
  query.Criteria().add("", "X = [B]");

  query.Loaded();

  ASSERT_EQ(query.StringParams().size(), 2u);
  EXPECT_EQ(query.StringParams()[0].Name(), "A");
  EXPECT_EQ(query.StringParams()[1].Name(), "B");
}

TEST(TVNSQLQuerySQL, CopiarCriteriosAtivosKeepsEnabledOnesInOrder) {
  TVNSQLQuery query;
  query.Criteria().add("um", "A = 1");
  query.Criteria().add("dois", "B = 2", false);
  query.Criteria().add("tres", "C = 3");

  TCriteria active = query.CopiarCriteriosAtivos();

  EXPECT_EQ(active.Owner(), nullptr);
  ASSERT_EQ(active.size(), 2u);
  EXPECT_EQ(active[0].Name(), "um");
  EXPECT_EQ(active[1].Criterion(), "C = 3");
  EXPECT_TRUE(active[1].Enabled());
  EXPECT_EQ(query.Criteria().size(), 3u) << "the query keeps its own criteria";
}

TEST(TVNSQLQueryText, LinhaContendoIgnoresCase) {
  const Lines lines{"select *", "from T", "Order By A", "ORDER BY B"};
  EXPECT_EQ(TVNSQLQuery::LinhaContendo(lines, "ORDER BY"), 2);
  EXPECT_EQ(TVNSQLQuery::LinhaContendo(lines, "from"), 1);
  EXPECT_EQ(TVNSQLQuery::LinhaContendo(lines, "GROUP BY"), -1);
  EXPECT_EQ(TVNSQLQuery::LinhaContendo({}, "X"), -1);
  EXPECT_EQ(TVNSQLQuery::LinhaContendo({"a \xE7\xE3o"}, "\xC7\xC3O"), 0)
      << "accented letters fold too";
}

TEST(TVNSQLQueryText, QuebrarAntesBreaksBeforeTheFirstCapitalKeyword) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"SELECT * FROM T ORDER BY A", "SELECT * FROM T \r\nORDER BY A"},
      {"A ORDER BY B ORDER BY C", "A \r\nORDER BY B ORDER BY C"},
      {"ORDER BY A", "ORDER BY A"},
      {"SELECT *\r\nORDER BY A", "SELECT *\r\nORDER BY A"},
      {"SELECT *\nORDER BY A", "SELECT *\nORDER BY A"},
      {"select * order by a", "select * order by a"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TVNSQLQuery::QuebrarAntes(c.text, "ORDER BY"), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace mts
