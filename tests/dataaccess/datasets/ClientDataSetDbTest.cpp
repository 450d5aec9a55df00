// TVNClientDataSet and TVNSQLQuery against a real (fresh, embedded) database.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dataaccess/datasets/DatasetError.h"
#include "dataaccess/datasets/VNClientDataSet.h"
#include "dataaccess/datasets/VNSQLQuery.h"
#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "support/FactoryDatabaseTest.h"

namespace mts {
namespace {

using db::Null;
using db::Timestamp;

// Employees with a badge, a sector and a default that inserts must leave alone
// (table FUNC of datasets-schema.sql), the same four rows at the start of each test.
class ClientDataSetDb : public test::FactoryDatabaseTest {
 public:
  static void SetUpTestSuite() {
    openSuiteDatabase(std::filesystem::path(MTS_DATASETS_TEST_DIR) / "datasets-schema.sql");
  }

 protected:
  void SetUp() override {
    FactoryDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    execute("delete from FUNC");
    addEmployee("001", "0042", "ANA", "01", "2.500");
    addEmployee("002", "0007", "BRUNO", "02", "1");
    addEmployee("003", "0042", "CARLA", "01", "0");
    addEmployee("004", "ab", "DAVI", "03", "7");
    dataset.setSQLConnection(&connection());
    dataset.setSQL({"select * from FUNC", "order by CODIGO_FU"});
  }

  static void addEmployee(const std::string& code, const std::string& badge,
                          const std::string& name, const std::string& sector,
                          const std::string& quantity) {
    connection().execute(
        "insert into FUNC (CODIGO_FU, CRACHA_FU, NOME_FU, SETOR_FU, QTDE_FU, ADMISSAO_FU) "
        "values (:C, :B, :N, :S, cast(:Q as numeric(15,3)), timestamp '2024-03-01 07:05:59')",
        {{"C", code}, {"B", badge}, {"N", name}, {"S", sector}, {"Q", quantity}});
  }

  std::string nameInDatabase(const std::string& code) {
    db::ResultSet rows =
        connection().query("select NOME_FU from FUNC where CODIGO_FU = :C", {{"C", code}});
    return rows.empty() ? std::string("<none>") : rows.front().text("NOME_FU");
  }

  std::vector<std::string> codesInOrder() {
    std::vector<std::string> codes;
    for (dataset.first(); !dataset.eof(); dataset.next())
      codes.push_back(dataset.text("CODIGO_FU"));
    return codes;
  }

  TVNClientDataSet dataset;
};

TEST_F(ClientDataSetDb, OpenHoldsEveryRowAndReadsFieldsByName) {
  dataset.addMemoryField("qtde_novo");
  dataset.open();

  EXPECT_EQ(dataset.state(), DataSetState::Browse);
  EXPECT_EQ(dataset.recordCount(), 4u);
  EXPECT_EQ(dataset.fieldNames().back(), "QTDE_NOVO");
  EXPECT_EQ(dataset.text("codigo_fu"), "001");
  EXPECT_EQ(dataset.text("SETOR_FU"), "01");
  EXPECT_DOUBLE_EQ(dataset.number("QTDE_FU"), 2.5);
  EXPECT_EQ(dataset.integer("CODIGO_FU"), 1);
  EXPECT_EQ(dataset.timestamp("ADMISSAO_FU"), (Timestamp{2024, 3, 1, 7, 5, 59, 0}));
  EXPECT_TRUE(dataset.isNull("QTDE_NOVO"));
  EXPECT_FALSE(dataset.isNull("NOME_FU"));
  EXPECT_THROW(dataset.text("NO_SUCH_FIELD"), db::DatabaseError);
}

TEST_F(ClientDataSetDb, NavigationStaysOnTheLastRowAtEof) {
  dataset.open();
  EXPECT_EQ(codesInOrder(), (std::vector<std::string>{"001", "002", "003", "004"}));
  EXPECT_TRUE(dataset.eof());
  EXPECT_EQ(dataset.text("CODIGO_FU"), "004") << "the last row stays current after the scan";

  dataset.close();
  dataset.setSQL({"select * from FUNC where CODIGO_FU = 'none'"});
  dataset.open();
  EXPECT_TRUE(dataset.eof());
  EXPECT_TRUE(dataset.isEmpty());
  EXPECT_EQ(dataset.fieldNames().size(), 7u) << "fields are known without rows";
  EXPECT_THROW(dataset.currentRow(), DatasetError);
}

TEST_F(ClientDataSetDb, FindKeySearchesTheIndexExactly) {
  dataset.setIndexFieldNames("CRACHA_FU");
  dataset.open();
  EXPECT_EQ(codesInOrder(), (std::vector<std::string>{"002", "001", "003", "004"}));

  ASSERT_TRUE(dataset.findKey(std::string("0007")));
  EXPECT_EQ(dataset.text("NOME_FU"), "BRUNO");

  ASSERT_TRUE(dataset.findKey(std::string("0042")));
  EXPECT_EQ(dataset.text("NOME_FU"), "ANA") << "the first of equal keys in index order";

  for (const char* missing : {"0042 ", "AB", "004", ""}) {
    EXPECT_FALSE(dataset.findKey(std::string(missing))) << missing;
    EXPECT_EQ(dataset.text("NOME_FU"), "ANA") << "a failed search keeps the current row";
  }
  EXPECT_TRUE(dataset.findKey(std::string("ab")));
}

TEST_F(ClientDataSetDb, IndexOnSeveralFieldsTakesWholeOrLeadingKeys) {
  dataset.setIndexFieldNames("SETOR_FU;NOME_FU");
  dataset.open();
  EXPECT_EQ(codesInOrder(), (std::vector<std::string>{"001", "003", "002", "004"}));

  EXPECT_TRUE(dataset.findKey({std::string("01"), std::string("CARLA")}));
  EXPECT_EQ(dataset.text("CODIGO_FU"), "003");
  EXPECT_TRUE(dataset.findKey({std::string("02")}));
  EXPECT_EQ(dataset.text("CODIGO_FU"), "002");
  EXPECT_FALSE(dataset.findKey({std::string("01"), std::string("BRUNO")}));
  EXPECT_THROW(dataset.findKey({std::string("01"), std::string("A"), std::string("x")}),
               DatasetError);

  // Locate searches any field in the current order; numbers match by value.
  EXPECT_TRUE(dataset.locate("QTDE_FU", std::int32_t{7}));
  EXPECT_EQ(dataset.text("CODIGO_FU"), "004");
  EXPECT_TRUE(dataset.locate("SETOR_FU;QTDE_FU", {std::string("01"), std::string("0")}));
  EXPECT_EQ(dataset.text("CODIGO_FU"), "003");

  // Changing the index keeps the current row and reorders the rest.
  dataset.setIndexFieldNames("");
  EXPECT_EQ(dataset.text("CODIGO_FU"), "003");
  EXPECT_THROW(dataset.findKey(std::string("x")), DatasetError) << "no index";
  EXPECT_THROW(dataset.setIndexFieldNames("NOPE"), DatasetError);
}

TEST_F(ClientDataSetDb, ReopenSeesRowsAddedMeanwhile) {
  dataset.setIndexFieldNames("CRACHA_FU");
  dataset.open();
  EXPECT_FALSE(dataset.findKey(std::string("0099")));

  addEmployee("005", "0099", "EVA", "01", "1");
  EXPECT_FALSE(dataset.findKey(std::string("0099"))) << "nothing is read until reopened";

  dataset.reopen();
  EXPECT_TRUE(dataset.findKey(std::string("0099")));
  EXPECT_EQ(dataset.text("NOME_FU"), "EVA");
}

TEST_F(ClientDataSetDb, StatementParametersSelectTheRows) {
  dataset.setSQL({"select * from FUNC", "where SETOR_FU = :SETOR", "order by CODIGO_FU"});
  dataset.setParam("SETOR", std::string("01"));
  dataset.open();
  EXPECT_EQ(codesInOrder(), (std::vector<std::string>{"001", "003"}));

  dataset.close();
  dataset.setParam("SETOR", std::string("03"));
  dataset.open();
  EXPECT_EQ(codesInOrder(), (std::vector<std::string>{"004"}));
}

TEST_F(ClientDataSetDb, AppendedRowIsInsertedWithItsAssignedFieldsOnly) {
  dataset.addMemoryField("QTDE_NOVO");  // would make the insert fail if it were sent
  dataset.setIndexFieldNames("NOME_FU");
  dataset.open();

  dataset.append();
  dataset.setValue("CODIGO_FU", std::string("010"));
  dataset.setValue("NOME_FU", std::string("AARAO"));
  dataset.setValue("ADMISSAO_FU", Timestamp{2025, 1, 2, 3, 4, 5, 0});
  dataset.setValue("QTDE_NOVO", 3.5);
  dataset.post();

  EXPECT_EQ(dataset.text("CODIGO_FU"), "010") << "the posted row is current";
  EXPECT_EQ(codesInOrder().front(), "010") << "and placed by the index";
  EXPECT_EQ(dataset.changeCount(), 1u);
  EXPECT_EQ(nameInDatabase("010"), "<none>") << "posting alone writes nothing";

  dataset.applyUpdates();

  EXPECT_EQ(dataset.changeCount(), 0u);
  db::ResultSet rows = connection().query("select * from FUNC where CODIGO_FU = '010'");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.front().text("NOME_FU"), "AARAO");
  EXPECT_EQ(rows.front().text("ATIVO_FU"), "S") << "an unassigned field takes its default";
  EXPECT_TRUE(rows.front().isNull("CRACHA_FU"));
  EXPECT_EQ(rows.front().timestamp("ADMISSAO_FU"), (Timestamp{2025, 1, 2, 3, 4, 5, 0}));
}

TEST_F(ClientDataSetDb, AnAppendedRowEditedAgainIsStillOneInsert) {
  dataset.open();
  dataset.append();
  dataset.setValue("CODIGO_FU", std::string("011"));
  dataset.post();
  dataset.edit();
  dataset.setValue("NOME_FU", std::string("LIA"));
  dataset.post();
  EXPECT_EQ(dataset.changeCount(), 1u);

  dataset.applyUpdates();  // no key fields: an insert needs none
  EXPECT_EQ(nameInDatabase("011"), "LIA");
}

TEST_F(ClientDataSetDb, MemoryFieldsChangeOnlyInMemory) {
  // Rows of an empty result can be added and worked on in memory alone.
  dataset.setSQL({"select * from FUNC where CODIGO_FU = :C"});
  dataset.setParam("C", std::string("---"));
  dataset.addMemoryField("QTDE_NOVO");
  dataset.setIndexFieldNames("SETOR_FU");
  dataset.open();
  for (const char* sector : {"02", "01"}) {
    dataset.append();
    dataset.setValue("SETOR_FU", std::string(sector));
    dataset.setValue("QTDE_NOVO", 0.0);
    dataset.post();
  }
  for (dataset.first(); !dataset.eof(); dataset.next()) {
    dataset.edit();
    dataset.setValue("QTDE_NOVO", dataset.number("QTDE_NOVO") + 1.5);
    dataset.post();
  }
  dataset.first();
  EXPECT_EQ(dataset.text("SETOR_FU"), "01");
  EXPECT_DOUBLE_EQ(dataset.number("QTDE_NOVO"), 1.5);
  dataset.close();

  // A fetched row whose memory field alone changed has nothing to write.
  dataset.setParam("C", std::string("001"));
  dataset.open();
  dataset.edit();
  dataset.setValue("QTDE_NOVO", 2.0);
  dataset.post();
  EXPECT_NO_THROW(dataset.applyUpdates()) << "no key fields are needed when nothing is written";
  dataset.reopen();
  EXPECT_TRUE(dataset.isNull("QTDE_NOVO")) << "memory fields start null at each opening";
}

TEST_F(ClientDataSetDb, EditedRowIsUpdatedByItsKeyFieldsOnly) {
  dataset.setKeyFields({"CODIGO_FU"});
  dataset.open();
  EXPECT_TRUE(dataset.providerFlags("CODIGO_FU").inKey);
  EXPECT_FALSE(dataset.providerFlags("CODIGO_FU").inUpdate);
  EXPECT_TRUE(dataset.providerFlags("NOME_FU").inUpdate);
  EXPECT_FALSE(dataset.providerFlags("NOME_FU").inKey);

  ASSERT_TRUE(dataset.locate("CODIGO_FU", std::string("002")));
  // Another program changes the row after it was read: only the key finds it,
  // and only the field edited here is written.
  connection().execute("update FUNC set SETOR_FU = '09', QTDE_FU = 5 where CODIGO_FU = '002'");

  dataset.edit();
  dataset.setValue("NOME_FU", std::string("BRUNA"));
  dataset.post();
  dataset.applyUpdates();

  db::ResultSet rows = connection().query("select * from FUNC order by CODIGO_FU");
  EXPECT_EQ(rows[1].text("NOME_FU"), "BRUNA");
  EXPECT_EQ(rows[1].text("SETOR_FU"), "09");
  EXPECT_DOUBLE_EQ(rows[1].number("QTDE_FU"), 5);
  EXPECT_EQ(rows[0].text("NOME_FU"), "ANA");
  EXPECT_EQ(rows[2].text("NOME_FU"), "CARLA");
}

TEST_F(ClientDataSetDb, UpdateErrorCarriesTheDatabaseMessageAndWritesNothing) {
  dataset.setKeyFields({"CODIGO_FU"});
  dataset.open();
  dataset.append();
  dataset.setValue("CODIGO_FU", std::string("020"));
  dataset.setValue("NOME_FU", std::string("NOVO"));
  dataset.post();
  dataset.append();
  dataset.setValue("CODIGO_FU", std::string("001"));  // already taken
  dataset.post();

  try {
    dataset.applyUpdates();
    FAIL() << "the duplicate key was accepted";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("PRIMARY or UNIQUE KEY"), std::string::npos) << e.what();
  }
  EXPECT_EQ(nameInDatabase("020"), "<none>") << "the first insert was rolled back with it";
  EXPECT_EQ(dataset.changeCount(), 2u) << "the changes stay to be applied again";
  EXPECT_FALSE(connection().inTransaction());
}

TEST_F(ClientDataSetDb, UpdateThatCannotFindItsRowIsAnError) {
  dataset.open();
  dataset.edit();
  dataset.setValue("NOME_FU", std::string("X"));
  dataset.post();
  EXPECT_THROW(dataset.applyUpdates(), DatasetError) << "no key fields to find the row by";

  dataset.close();
  dataset.setKeyFields({"CODIGO_FU"});
  dataset.open();
  connection().execute("delete from FUNC where CODIGO_FU = '001'");
  dataset.edit();
  dataset.setValue("NOME_FU", std::string("X"));
  dataset.post();
  try {
    dataset.applyUpdates();
    FAIL() << "an update of a deleted row was reported as done";
  } catch (const DatasetError& e) {
    EXPECT_STREQ(e.what(), "Registro n\xE3o encontrado ou alterado por outro usu\xE1rio.");
  }
}

TEST_F(ClientDataSetDb, ChangesJoinTheCallersTransaction) {
  dataset.setKeyFields({"CODIGO_FU"});
  dataset.open();
  dataset.edit();
  dataset.setValue("NOME_FU", std::string("ANTES"));
  dataset.post();

  connection().startTransaction();
  dataset.applyUpdates();
  EXPECT_TRUE(connection().inTransaction()) << "the caller's transaction is left open";
  connection().rollback();

  EXPECT_EQ(nameInDatabase("001"), "ANA");
}

TEST_F(ClientDataSetDb, FailedChangesKeepTheCallersTransactionFromCommitting) {
  dataset.setKeyFields({"CODIGO_FU"});
  dataset.open();
  dataset.append();
  dataset.setValue("CODIGO_FU", std::string("001"));  // already taken
  dataset.post();

  connection().startTransaction();
  connection().execute("update FUNC set NOME_FU = 'OUTRO' where CODIGO_FU = '001'");
  EXPECT_THROW(dataset.applyUpdates(), db::DatabaseError);
  EXPECT_THROW(connection().commit(), db::DatabaseError) << "half the caller's work committed";
  connection().rollback();

  EXPECT_EQ(nameInDatabase("001"), "ANA");
}

TEST_F(ClientDataSetDb, CancelDropsTheEditAndStateChangesAreReported) {
  std::vector<DataSetState> seen;
  dataset.setOnStateChanged([&](TVNClientDataSet& sender) {
    EXPECT_EQ(&sender, &dataset);
    seen.push_back(sender.state());
  });
  dataset.open();

  dataset.edit();
  dataset.setValue("NOME_FU", std::string("MUDOU"));
  EXPECT_EQ(dataset.text("NOME_FU"), "MUDOU") << "the edited value reads back";
  dataset.cancel();
  EXPECT_EQ(dataset.text("NOME_FU"), "ANA");

  dataset.append();
  dataset.cancel();
  EXPECT_EQ(dataset.recordCount(), 4u);

  dataset.edit();
  dataset.setValue("NOME_FU", std::string("MUDOU"));
  dataset.post();
  dataset.cancel();  // nothing to cancel: not reported

  EXPECT_EQ(seen, (std::vector<DataSetState>{DataSetState::Edit, DataSetState::Browse,
                                             DataSetState::Insert, DataSetState::Browse,
                                             DataSetState::Edit, DataSetState::Browse}));
  EXPECT_EQ(dataset.changeCount(), 1u);
  EXPECT_THROW(dataset.setValue("NOME_FU", std::string("x")), DatasetError) << "not editing";
  dataset.close();
  EXPECT_EQ(dataset.changeCount(), 0u) << "closing drops what was not applied";
}

TEST_F(ClientDataSetDb, OpeningWithoutConnectionNamesTheMissingProperty) {
  TVNClientDataSet unconnected;
  unconnected.setSQL({"select * from FUNC"});
  try {
    unconnected.open();
    FAIL() << "opened without a connection";
  } catch (const DatasetError& e) {
    EXPECT_STREQ(e.what(),
                 "\xC9 necess\xE1rio preencher a propriedade SQLConnection para utilizar o "
                 "provider interno.");
  }
  EXPECT_FALSE(unconnected.active());
}

TEST_F(ClientDataSetDb, DatabaseErrorsWhileOpeningPropagate) {
  dataset.setSQL({"select * from NO_SUCH_TABLE"});
  EXPECT_THROW(dataset.open(), db::DatabaseError);
  EXPECT_FALSE(dataset.active());
}

TEST_F(ClientDataSetDb, QuerySettingTheSameTextStaysOpen) {
  TVNSQLQuery query;
  query.setSQL({"select * from FUNC"});
  query.setSQLConnection(&connection());
  query.open();
  EXPECT_EQ(query.result().size(), 4u);

  query.setSQL({"select * from FUNC"});
  EXPECT_TRUE(query.active());

  query.setSQL({"select * from FUNC where 1 = 0"});
  EXPECT_FALSE(query.active());
  query.open();
  EXPECT_TRUE(query.result().empty());
}

}  // namespace
}  // namespace mts
