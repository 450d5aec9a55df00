// A card's checks and recording as one unit of work, on two attachments of one
// database: what a second server (or the office program) does at the same time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "dataaccess/firebird/DatabaseError.h"
#include "production/CardLock.h"
#include "production/CardUnitOfWork.h"
#include "production/TdmAtuProducao.h"
#include "production/validation/ServerClock.h"
#include "support/DatabaseRows.h"
#include "support/TestDatabase.h"

namespace mts::test {
namespace {

using std::chrono::milliseconds;

const std::vector<std::string> kCard = {"FICHA 000101/0001"};

class CardUnitOfWorkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    insertRow(setup_, "ITENSPV",
              {{"PEDIDO_IT", "00004501"}, {"ITEM_IT", "001"}, {"PROD_IT", "P1"}, {"SIT_IT", "P"}});
    first_.DefinirConexao(a_);
    second_.DefinirConexao(b_);
  }

  db::ConnectionSettings settings(int lockTimeoutSeconds = 5) const {
    db::ConnectionSettings settings = database_.settings();
    settings.lockTimeoutSeconds = lockTimeoutSeconds;
    return settings;
  }

  std::int64_t logRows(db::Connection& connection) {
    return countRows(connection, "LOG_ALTERACAO");
  }

  void log(db::Connection& connection, const std::string& key) {
    connection.execute(
        "insert into LOG_ALTERACAO (ID_LA, CHAVE_LA) values (gen_id(ID_LOG_ALTERACAO, 1), :K)",
        {{"K", key}});
  }

  TestDatabase database_{factorySchema()};
  db::Connection setup_{settings()};
  db::Connection a_{settings()};
  db::Connection b_{settings()};
  CardUnitOfWork first_;
  CardUnitOfWork second_;
};

// The second writer of the same card waits for the first to end, then its
// checks see what the first recorded: it answers with a refusal instead of
// recording the card again.
TEST_F(CardUnitOfWorkTest, TwoWritersOfOneCardTakeTurnsAndTheSecondSeesTheFirst) {
  std::atomic<bool> secondRan{false};
  std::int64_t secondSaw = -1;
  std::thread second;
  const TRetorno posted = first_.Executar(kCard, [&] {
    second = std::thread([&] {
      second_.Executar(kCard, [&] {
        secondRan = true;
        secondSaw = logRows(b_);
        return TRetorno{secondSaw == 0, ""};
      });
    });
    std::this_thread::sleep_for(milliseconds(500));
    EXPECT_FALSE(secondRan) << "the second writer did not wait for the card";
    log(a_, "first");
    return TRetorno{true, ""};
  });
  second.join();

  EXPECT_TRUE(posted.Sucesso);
  EXPECT_TRUE(secondRan);
  EXPECT_EQ(secondSaw, 1);
  EXPECT_EQ(logRows(setup_), 1);
}

// Another card (another slot) does not wait.
TEST_F(CardUnitOfWorkTest, AnotherCardDoesNotWait) {
  const std::vector<std::string> other = {"FICHA 000101/0002"};
  ASSERT_NE(CardLockSlot(kCard[0]), CardLockSlot(other[0]));
  first_.Executar(kCard, [&] {
    const auto started = std::chrono::steady_clock::now();
    second_.Executar(other, [&] { return TRetorno{true, ""}; });
    EXPECT_LT(std::chrono::steady_clock::now() - started, milliseconds(500));
    return TRetorno{true, ""};
  });
}

// A row the card writes, changed by a transaction that commits while the card
// waits for it: the conflict rolls the card back and runs it again, and the
// second run records it whole.
TEST_F(CardUnitOfWorkTest, AConflictWithAWriterThatEndedRunsTheCardAgain) {
  db::Connection office(settings());
  office.startTransaction();
  office.execute("update ITENSPV set SIT_IT = 'L' where PEDIDO_IT = '00004501'");
  std::thread commit([&] {
    std::this_thread::sleep_for(milliseconds(400));
    office.commit();
  });
  int runs = 0;
  const TRetorno posted = first_.Executar(kCard, [&] {
    ++runs;
    log(a_, "run " + std::to_string(runs));
    a_.execute("update ITENSPV set SIT_IT = 'E' where PEDIDO_IT = '00004501'");
    return TRetorno{true, ""};
  });
  commit.join();

  EXPECT_TRUE(posted.Sucesso);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(countRows(setup_, "LOG_ALTERACAO", "CHAVE_LA = 'run 2'"), 1);
  EXPECT_EQ(logRows(setup_), 1);
  EXPECT_EQ(queryOne(setup_, "select SIT_IT from ITENSPV").text("SIT_IT"), "E");
}

// A row held past the lock timeout (a person editing the order item): the card
// fails once, after one lock timeout, and nothing of it is recorded.
TEST_F(CardUnitOfWorkTest, ARowHeldPastTheLockTimeoutFailsTheCardOnceWithNothingRecorded) {
  db::Connection impatient(settings(2));
  CardUnitOfWork unit;
  unit.DefinirConexao(impatient);
  db::Connection office(settings());
  office.startTransaction();
  office.execute("update ITENSPV set SIT_IT = SIT_IT where PEDIDO_IT = '00004501'");

  int runs = 0;
  const auto started = std::chrono::steady_clock::now();
  try {
    unit.Executar(kCard, [&] {
      ++runs;
      log(impatient, "held");
      impatient.execute("update ITENSPV set SIT_IT = 'E' where PEDIDO_IT = '00004501'");
      return TRetorno{true, ""};
    });
    ADD_FAILURE() << "the card was recorded past a held row";
  } catch (const db::DatabaseError& error) {
    EXPECT_TRUE(error.conflict()) << error.what();
  }
  const auto took = std::chrono::steady_clock::now() - started;
  office.rollback();

  EXPECT_EQ(runs, 1);
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_EQ(logRows(setup_), 0);
}

double secondsOfDay(const db::Timestamp& t) {
  return t.hour * 3600.0 + t.minute * 60.0 + t.second + t.fraction / 10000.0;
}

// A card is dated by the database's clock at the moment it got its lock: a
// card that waited for another writer of it is dated after the wait, its
// whole work sees one moment, and once its unit ends the clock reads the
// database again rather than keeping the card's moment.
TEST_F(CardUnitOfWorkTest, TheCardIsDatedWhenItGetsItsLock) {
  ServerClock firstClock;
  ServerClock secondClock;
  firstClock.DefinirConexao(a_);
  secondClock.DefinirConexao(b_);
  first_.DefinirRelogio(firstClock);
  second_.DefinirRelogio(secondClock);
  db::Timestamp firstDated;
  db::Timestamp secondDated;
  db::Timestamp secondDatedLater;
  std::thread second;
  first_.Executar(kCard, [&] {
    firstDated = firstClock.DataHoraServidor();
    second = std::thread([&] {
      second_.Executar(kCard, [&] {
        secondDated = secondClock.DataHoraServidor();
        std::this_thread::sleep_for(milliseconds(50));
        secondDatedLater = secondClock.DataHoraServidor();
        return TRetorno{true, ""};
      });
    });
    std::this_thread::sleep_for(milliseconds(500));
    return TRetorno{true, ""};
  });
  second.join();
  std::this_thread::sleep_for(milliseconds(50));
  const db::Timestamp afterwards = secondClock.DataHoraServidor();

  EXPECT_NE(firstDated, db::Timestamp{});
  EXPECT_GE(secondsOfDay(secondDated) - secondsOfDay(firstDated), 0.4);
  EXPECT_EQ(secondDatedLater, secondDated);
  EXPECT_GT(afterwards, secondDated);
}

// The module reads the time its card's lock was taken, whichever way it is
// built: the database workers build it without the start-up reporter.
TEST_F(CardUnitOfWorkTest, TheModuleDatesACardByItsLockHoweverItIsBuilt) {
  TDadosAtuProducao card;
  card.Prog = "000101";
  card.Ficha = "0001";
  const auto datesTwice = [&](TdmAtuProducao& module) {
    db::Timestamp first;
    db::Timestamp later;
    module.ExecutarFicha(card, [&] {
      first = module.DataHoraServidor();
      std::this_thread::sleep_for(milliseconds(30));
      later = module.DataHoraServidor();
      return TRetorno{true, ""};
    });
    EXPECT_NE(first, db::Timestamp{});
    EXPECT_EQ(later, first);
  };
  {
    SCOPED_TRACE("as the workers build it");
    TdmAtuProducao module(a_);
    datesTwice(module);
  }
  {
    SCOPED_TRACE("with a start-up reporter");
    TdmAtuProducao module(b_, [](const std::string&) {});
    datesTwice(module);
  }
}

TEST_F(CardUnitOfWorkTest, AMissingSlotNamesTheUpgradeScript) {
  setup_.execute("delete from BLOQUEIO_FICHA where ID_BF = :S", {{"S", CardLockSlot(kCard[0])}});
  try {
    first_.Executar(kCard, [] { return TRetorno{true, ""}; });
    ADD_FAILURE() << "no error";
  } catch (const db::DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("db/upgrade-card-locks.sql"), std::string::npos);
  }
}

// Every kind of card that reads a programme card's postings locks that card;
// a box label also locks its order item; a cut card only itself.
TEST(CardLockKeysTest, KindsThatShareRowsShareAKey) {
  TDadosAtuProducao card;
  card.Prog = "000101";
  card.Ficha = "0001";
  for (const char* kind : {"F", "S", "I", "O"}) {
    card.TipoAtualizacao = kind;
    EXPECT_EQ(CardLockKeys(card, std::nullopt), kCard) << kind;
  }
  card.TipoAtualizacao = "T";
  EXPECT_EQ(CardLockKeys(card, BoxLabelOrderItem{"00004502", "001"}),
            (std::vector<std::string>{"FICHA 000101/0001", "ITEM 00004502/001"}));
  card.TipoAtualizacao = "FC";
  card.FichaCorte = true;
  card.IdFichaCorte = 51;
  EXPECT_EQ(CardLockKeys(card, std::nullopt), std::vector<std::string>{"FC 51"});
}

}  // namespace
}  // namespace mts::test
