// String parameters and criteria as collections.
#include <gtest/gtest.h>

#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/datasets/VNSQLQuery.h"

namespace mts {
namespace {

TEST(TCriterionItem, NameLosesSpacesAndControlCharactersAtBothEnds) {
  TCriterionItem item;
  item.setName(" \t\r\n Ativos \x01\n");
  EXPECT_EQ(item.Name(), "Ativos");
  item.setName("meio  \t  meio");
  EXPECT_EQ(item.Name(), "meio  \t  meio");
  item.setName(
      "\xA0"
      "acentuado\xE9 ");
  EXPECT_EQ(item.Name(),
            "\xA0"
            "acentuado\xE9")
      << "bytes above 0x20 are kept";
  EXPECT_EQ(TCriterionItem("  x  ", "A = 1").Name(), "x");
}

TEST(TCriterionItem, IsEnabledUnlessSaidOtherwise) {
  EXPECT_TRUE(TCriterionItem().Enabled());
  EXPECT_TRUE(TCriteria().add("a", "A = 1").Enabled());
}

TEST(Collections, DisplayNameIsTheNameOrTheItemPosition) {
  TStringParams params;
  params.add("NOME");
  params.add("");
  EXPECT_EQ(params.DisplayName(0), "NOME");
  EXPECT_EQ(params.DisplayName(1), "Item 1");

  TCriteria criteria;
  criteria.add("");
  criteria.add("ativos");
  criteria.add("   ");
  EXPECT_EQ(criteria.DisplayName(0), "Item 0");
  EXPECT_EQ(criteria.DisplayName(1), "ativos");
  EXPECT_EQ(criteria.DisplayName(2), "Item 2");
}

TEST(Collections, QueryOwnsItsCollectionsAndAssigningKeepsTheOwner) {
  TVNSQLQuery query;
  EXPECT_EQ(query.StringParams().Owner(), &query);
  EXPECT_EQ(query.Criteria().Owner(), &query);

  TCriteria given;
  given.add("a", "A = 1", false);
  given.add("b", "B = [X]");
  query.setCriteria(given);
  EXPECT_EQ(query.Criteria().Owner(), &query);
  ASSERT_EQ(query.Criteria().size(), 2u);
  EXPECT_FALSE(query.Criteria()[0].Enabled());
  EXPECT_EQ(query.Criteria()[1].Criterion(), "B = [X]");

  given[0].setCriterion("changed");
  EXPECT_EQ(query.Criteria()[0].Criterion(), "A = 1") << "the query holds a copy";

  TStringParams copy(query.StringParams());
  EXPECT_EQ(copy.Owner(), nullptr);
}

TEST(Collections, FindIsCaseSensitive) {
  TStringParams params;
  params.add("Nome", "1");
  EXPECT_NE(params.find("Nome"), nullptr);
  EXPECT_EQ(params.find("NOME"), nullptr);
}

TEST(TVNClientDataSetSetup, CriteriaOnTheDatasetCollectTheirPlaceholders) {
  TVNClientDataSet dataset;
  dataset.setSQL({"select * from [TAB]"});
  TCriteria criteria;
  criteria.add("", "COD = [COD]");
  dataset.setCriteria(criteria);

  ASSERT_EQ(dataset.StringParams().size(), 2u);
  EXPECT_EQ(dataset.StringParams()[1].Name(), "COD");
  EXPECT_EQ(dataset.StringParams().Owner(), dataset.InternalProvider().DataSet());
  EXPECT_EQ(dataset.InternalProvider().Name(), "internal");
  EXPECT_EQ(dataset.ProviderName(), "internal");
}

}  // namespace
}  // namespace mts
