#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ValidationDatabaseTest.h"

namespace mts::test {
namespace {

class ProductionOrderChecksTest : public ValidationDatabaseTest {};

const char* const kOperationsPending =
    "Ficha Opera\xE7\xE3o Setor gerada/n\xE3o atualizada, n\xE3o \xE9 poss\xEDvel atualizar a "
    "ficha.";
const char* const kRequisitionPending = "Existe Bx. Req. M.Prima Pendente no Setor \"09\".";

// Requisitions are checked when sector 01 posts, for materials of sector 09.
void requisitionsCheckedIn01(FactoryBuilder& f) {
  f.param("VALIDA_BX_REQ_MP_COD_SETOR_ATU", "01");
  f.param("VALIDA_BX_REQ_MP_COD_SETOR_MP", "09");
}

FactoryBuilder::Requisition requisition(double consumption, double issued, double returned,
                                        const std::string& materialSector = "09") {
  return {.id = 1,
          .prog = "000100",
          .ficha = "0001",
          .material = 500,
          .materialSector = materialSector,
          .consumption = consumption,
          .issued = issued,
          .returned = returned};
}

TEST_F(ProductionOrderChecksTest, OperationCardsProgrammeAndRequisitions) {
  std::vector<Case> cases = {
      {.what = "an operation of the sector without its posted operation",
       .state =
           [](FactoryBuilder& f) {
             f.operationCard(1, "000100", "0001", "01", "10");
             f.operationCard(2, "000100", "0001", "01", "20");
             f.postedOperation("000100", "0001", "0000", "01", "10", {2024, 3, 7, 8, 0, 0, 0});
           },
       .request = mainCard("01"),
       .message = kOperationsPending},
      {.what = "every operation posted, under another sub-card",
       .state =
           [](FactoryBuilder& f) {
             f.operationCard(1, "000100", "0001", "01", "10");
             f.postedOperation("000100", "0001", "0007", "01", "10", {2024, 3, 7, 8, 0, 0, 0});
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "operations of another sector do not count",
       .state = [](FactoryBuilder& f) { f.operationCard(1, "000100", "0001", "02", "10"); },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a closed programme, blocking off",
       .state = [](FactoryBuilder& f) { f.programme("000100", true); },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a closed programme, blocking on",
       .state =
           [](FactoryBuilder& f) {
             f.param("BLOQUEAR_ATU_PROG_ENCERRADA", "S");
             f.programme("000100", true);
           },
       .request = mainCard("01"),
       .message = "Programa\xE7\xE3o Encerrada."},
      {.what = "an open programme, blocking on",
       .state =
           [](FactoryBuilder& f) {
             f.param("BLOQUEAR_ATU_PROG_ENCERRADA", "S");
             f.programme("000100", false);
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a programme without its row, blocking on",
       .state = [](FactoryBuilder& f) { f.param("BLOQUEAR_ATU_PROG_ENCERRADA", "S"); },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a requisition still to issue in the checked sector",
       .state =
           [](FactoryBuilder& f) {
             requisitionsCheckedIn01(f);
             f.requisition(requisition(10, 4, 0));
           },
       .request = mainCard("01"),
       .message = kRequisitionPending},
      {.what = "issued, then partly returned",
       .state =
           [](FactoryBuilder& f) {
             requisitionsCheckedIn01(f);
             f.requisition(requisition(10, 10, 2));
           },
       .request = mainCard("01"),
       .message = kRequisitionPending},
      {.what = "fully issued",
       .state =
           [](FactoryBuilder& f) {
             requisitionsCheckedIn01(f);
             f.requisition(requisition(10, 12, 1));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "no consumption",
       .state =
           [](FactoryBuilder& f) {
             requisitionsCheckedIn01(f);
             f.requisition(requisition(0, 0, 0));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "a material of another sector",
       .state =
           [](FactoryBuilder& f) {
             requisitionsCheckedIn01(f);
             f.requisition(requisition(10, 0, 0, "08"));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
      {.what = "posting in a sector that is not checked",
       .state =
           [](FactoryBuilder& f) {
             requisitionsCheckedIn01(f);
             f.requisition(requisition(10, 0, 0));
             f.posting(posted("01"));
           },
       .request = mainCard("02"),
       .accepted = true,
       .quantity = 12},
      {.what = "no material sector configured",
       .state =
           [](FactoryBuilder& f) {
             f.param("VALIDA_BX_REQ_MP_COD_SETOR_ATU", "01");
             f.requisition(requisition(10, 0, 0, ""));
           },
       .request = mainCard("01"),
       .accepted = true,
       .quantity = 12},
  };
  runCases(cases);
}

TEST_F(ProductionOrderChecksTest, OperationCards) {
  std::vector<Case> cases = {
      {.what = "an operation already posted for the sub-card",
       .state =
           [](FactoryBuilder& f) {
             f.postedOperation("000100", "0001", "0002", "01", "10", {2024, 3, 7, 8, 5, 9, 0});
           },
       .request = operation("01", "0002", "10"),
       .message = "Ficha de Opera\xE7\xE3o j\xE1 atualizada em 07/03/2024 08:05:09."},
      {.what = "posted for another sub-card of the card",
       .state =
           [](FactoryBuilder& f) {
             f.postedOperation("000100", "0001", "0002", "01", "10", {2024, 3, 7, 8, 5, 9, 0});
             f.subCard(
                 {.id = 1, .prog = "000100", .ficha = "0001", .subFicha = "0003", .pairs = 5});
           },
       .request = operation("01", "0003", "10"),
       .accepted = true,
       .quantity = 5},
      {.what = "a card without grade rows posts 0 pairs",
       .state =
           [](FactoryBuilder& f) {
             f.card(
                 {.prog = "000300", .ficha = "0001", .pairs = 9, .item = "003", .noGrade = true});
           },
       .request =
           [] {
             TDadosAtuProducao dados = operation("01", "0000", "10");
             dados.Prog = "000300";
             return dados;
           }(),
       .accepted = true,
       .quantity = 0},
      {.what = "a quote in the programme and card is plain data",
       .state =
           [](FactoryBuilder& f) {
             f.card({.prog = "00'100", .ficha = "0'01", .pairs = 7, .item = "004"});
           },
       .request =
           [] {
             TDadosAtuProducao dados = operation("01", "0000", "10");
             dados.Prog = "00'100";
             dados.Ficha = "0'01";
             return dados;
           }(),
       .accepted = true,
       .quantity = 7},
  };
  runCases(cases);
}

}  // namespace
}  // namespace mts::test
