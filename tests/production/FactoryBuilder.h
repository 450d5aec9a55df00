#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dataaccess/firebird/Connection.h"
#include "dataaccess/firebird/Value.h"

namespace mts::test {

// Writes the rows of a small factory, one call per thing a test is about, with
// every column a test does not care about left at a harmless default. Rows are
// written at once (each statement commits on its own).
//
//   FactoryBuilder factory(connection());
//   factory.sector({.code = "02", .name = "COSTURA", .order = 2, .previous = "01"});
//   factory.card({.prog = "000100", .ficha = "0001", .pairs = 12});
//   factory.posting({.prog = "000100", .ficha = "0001", .sector = "01"});
//
// clear() empties every table these builders write (CONFIG keeps its row with
// an empty company name), so a table of cases can start each case afresh.
class FactoryBuilder {
 public:
  explicit FactoryBuilder(db::Connection& connection) : connection_(connection) {}

  struct Sector {
    std::string code{};
    std::string name{};
    int order = 0;
    std::string previous{};        // SETORANT_SE
    std::string group{};           // SETOR_AGRUP_SE
    std::string updateType = "N";  // TIPO_ATU_PRODUCAO_SETOR_SE
    bool inSequence = true;        // SEQPROD_SE 'S'
    std::string operationType = "P";
  };
  struct Product {
    std::string code = "PR01";
    std::string initialSector{};         // SETORINICIAL_PR
    std::vector<std::string> sectors{};  // PRODUTO_SETOR rows
  };
  // A production card: its PRODUCAO row (unless noProductionRow), its order
  // item and the item's grade (one size holding every pair, or the sizes
  // given, unless noGrade).
  struct Card {
    std::string prog{};
    std::string ficha{};
    int pairs = 0;
    std::string product = "PR01";
    std::string order = "PV000001";
    std::string item = "001";
    bool noProductionRow = false;
    bool noGrade = false;
    std::vector<std::pair<std::string, int>> sizes{};  // size and pairs
  };
  struct SubCardRow {
    int id = 0;
    std::string prog{};
    std::string ficha{};
    std::string subFicha{};
    int pairs = 0;
    std::string size = "37";
  };
  struct Box {
    int code = 0;
    std::string order = "PV000001";
    std::string item = "001";
    std::string talao{};
    int pairs = 0;
    std::optional<std::string> orderNumber{};  // PEDIDO_CX; defaults to `order`
    db::Value cancelled = db::Null{};          // DATA_CANC_CX
  };
  // A PRODUCAO_SETOR row. A missing exit date stores null.
  struct Posting {
    std::string prog{};
    std::string ficha{};
    std::string subFicha = "0000";
    std::string sector{};
    std::string employee{};
    double pairs = 0;
    int box = 0;            // CODCXCOLET_PS
    int subProduction = 0;  // ID_SUBPROD_PS
    int rawMaterialSubProduction = 0;
    std::optional<db::Timestamp> entry{};
    std::optional<db::Timestamp> exit = db::Timestamp{2024, 5, 6, 10, 30, 0, 0};
  };
  struct Requisition {
    int id = 0;
    std::string prog{};
    std::string ficha{};
    int material = 0;
    std::string materialSector{};
    double consumption = 0;
    double issued = 0;
    double returned = 0;
  };

  void clear();

  void company(const std::string& name);
  void param(const std::string& name, const std::string& value,
             const std::string& group = "ATU_PRODUCAO");

  void sector(const Sector& sector);
  // Sets one column of an existing sector.
  void changeSector(const std::string& code, const std::string& column, const db::Value& value);
  void employee(const std::string& code, const std::string& name,
                const std::vector<std::string>& sectors = {});
  void product(const Product& product);
  void programme(const std::string& number, bool closed);
  void card(const Card& card);
  void subCard(const SubCardRow& row);
  void box(const Box& box);
  void posting(const Posting& posting);
  void operationCard(int id, const std::string& prog, const std::string& ficha,
                     const std::string& sector, const std::string& operation);
  void postedOperation(const std::string& prog, const std::string& ficha,
                       const std::string& subFicha, const std::string& sector,
                       const std::string& operation, const db::Timestamp& when);
  void requisition(const Requisition& requisition);
  void cutCard(int id, int pairs);

 private:
  db::Connection& connection_;
};

}  // namespace mts::test
