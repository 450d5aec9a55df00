#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ProductionDatabaseTest.h"

namespace mts::test {
namespace {

// Where the parts of a plain card code are: position and length of each.
struct Layout {
  int progPos = 1, progLen = 6;
  int cardPos = 7, cardLen = 4;
  int subPos = 11, subLen = 4;
  int sectorPos = 0, sectorLen = 0;
};

struct IdentificationCase {
  const char* name;
  std::string code;
  std::string employeeSector = "01";
  std::string company = "";
  bool byBoxLabel = false;          // BAIXA_POR_TALAO
  std::string cutCardSectors = "";  // SETOR_BX_FICHA_CORTE
  Layout layout = {};
  // Expected: on refusal only the message is compared.
  bool identified = true;
  std::string message = "";
  std::string kind = "";
  std::string sector = "";
  std::string prog = "";
  std::string card = "";
  std::string subCard = "0000";
  std::string operation = "";
  std::int32_t idSubProd = 0;
  std::int32_t idCutCard = 0;
  std::int32_t boxLabel = 0;
};

void PrintTo(const IdentificationCase& c, std::ostream* out) {
  *out << c.name;
}

// One programme card with everything that refers to it, in sectors 01 and 02;
// sector 03 posts cut cards, sector 09 is outside the production sequence.
class CardIdentificationTest : public ProductionDatabaseTest,
                               public testing::WithParamInterface<IdentificationCase> {
 protected:
  void SetUp() override {
    ProductionDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    addSector("01", "CORTE", 1, "P");
    addSector("02", "COSTURA", 2, "M");
    addSector("03", "CORTE AUT", 3, "C");
    addSector("09", "EXPEDICAO", 9, "E", /*inSequence=*/false);
    addOrderItem("P1", "001", "000123", "0045");
    insert("CODCXCOLET", {{"CODIGO_CX", 1234567},
                          {"PEDIDO_CX", std::string("P1")},
                          {"ITEMPED_CX", std::string("001")},
                          {"TALAO_CX", std::string("7")},
                          {"QTDEPAR_CX", 12}});
    insert("CODCXCOLET", {{"CODIGO_CX", 123456789},
                          {"PEDIDO_CX", std::string("P1")},
                          {"ITEMPED_CX", std::string("001")},
                          {"TALAO_CX", std::string("0012")},
                          {"QTDEPAR_CX", 6}});
    // A box whose order item is gone is not found either.
    insert("CODCXCOLET", {{"CODIGO_CX", 7654321},
                          {"PEDIDO_CX", std::string("P9")},
                          {"ITEMPED_CX", std::string("001")},
                          {"TALAO_CX", std::string("1")}});
    insert("SUBPROD", {{"ID_PR", 12345678},
                       {"PROG_PR", std::string("000123")},
                       {"FICHA_PR", std::string("0045")},
                       {"SUBFICHA_PR", std::string("2")},
                       {"QTDE_PR", 10}});
    addOperationCard(1234567, "000123", "0045", "02", "10");
    addOperationCard(7654321, "000999", "0001", "02", "10");  // no order item
    addCutCard(123, 50);
    addCutCard(124, 50, db::Timestamp{2024, 5, 6, 7, 8, 9, 0});
  }
};

TEST_P(CardIdentificationTest, IdentifiesTheCode) {
  const IdentificationCase& c = GetParam();
  setCompany(c.company);
  setProductionParam("BAIXA_POR_TALAO", c.byBoxLabel ? "S" : "N");
  setProductionParam("SETOR_BX_FICHA_CORTE", c.cutCardSectors);
  setProductionParam("PROG_POSINI", std::to_string(c.layout.progPos));
  setProductionParam("PROG_TAM", std::to_string(c.layout.progLen));
  setProductionParam("FICHA_POSINI", std::to_string(c.layout.cardPos));
  setProductionParam("FICHA_TAM", std::to_string(c.layout.cardLen));
  setProductionParam("SUBFICHA_POSINI", std::to_string(c.layout.subPos));
  setProductionParam("SUBFICHA_TAM", std::to_string(c.layout.subLen));
  setProductionParam("SETOR_POSINI", std::to_string(c.layout.sectorPos));
  setProductionParam("SETOR_TAM", std::to_string(c.layout.sectorLen));
  auto module = createModule();
  ASSERT_TRUE(startupErrors.empty());

  // A record left over from an earlier card: identification clears the card
  // members and leaves the posting members alone.
  TDadosAtuProducao dados;
  dados.Setor = "99";
  dados.Funcionario = "001";
  dados.Operacao = "77";
  dados.IdSubProd = 5;
  dados.IdFichaCorte = 6;
  dados.CodCxColet = 7;
  dados.FichaCorte = true;
  dados.CampoData = "DTENTRADA_PS";
  dados.Qtde = 3;
  dados.FilialEstoque = 4;
  std::string message = "untouched";

  const bool identified = module->IdentificarFicha(c.code, c.employeeSector, dados, message);

  ASSERT_EQ(identified, c.identified) << message;
  EXPECT_EQ(dados.CampoData, "DTENTRADA_PS");
  EXPECT_EQ(dados.Qtde, 3);
  EXPECT_EQ(dados.FilialEstoque, 4);
  if (!identified) {
    EXPECT_EQ(message, c.message);
    return;
  }
  EXPECT_EQ(message, "untouched");
  EXPECT_EQ(dados.TipoAtualizacao, c.kind);
  EXPECT_EQ(dados.Setor, c.sector);
  EXPECT_EQ(dados.Prog, c.prog);
  EXPECT_EQ(dados.Ficha, c.card);
  EXPECT_EQ(dados.SubFicha, c.subCard);
  EXPECT_EQ(dados.PossuiSubFicha, c.subCard != "0000");
  EXPECT_EQ(dados.Operacao, c.operation);
  EXPECT_EQ(dados.IdSubProd, c.idSubProd);
  EXPECT_EQ(dados.IdFichaCorte, c.idCutCard);
  EXPECT_EQ(dados.CodCxColet, c.boxLabel);
  EXPECT_EQ(dados.FichaCorte, c.kind == "FC");
  EXPECT_EQ(dados.Funcionario, "");
  const char* operationTypes[] = {"P", "M", "C"};
  EXPECT_EQ(dados.TipoOperacaoSetor, operationTypes[std::stoi(c.sector) - 1]);
}

const IdentificationCase kCases[] = {
    // Cut cards: only for employees of a listed sector.
    {.name = "CutCard",
     .code = "280000000123",
     .employeeSector = "03",
     .cutCardSectors = " 01, 03 ",
     .kind = "FC",
     .sector = "03",
     .idCutCard = 123},
    {.name = "CutCardMissing",
     .code = "280000000999",
     .employeeSector = "03",
     .cutCardSectors = "03",
     .identified = false,
     .message = "Ficha 280000000999 n\xE3o encontrada."},
    {.name = "CutCardCancelled",
     .code = "280000000124",
     .employeeSector = "03",
     .cutCardSectors = "03",
     .identified = false,
     .message = "Ficha Cancelada em 06/05/2024 07:08:09."},
    {.name = "CutCardCodeOutsideListedSectorsIsAPlainCard",
     .code = "280000000123",
     .employeeSector = "01",
     .cutCardSectors = "03",
     .kind = "F",
     .sector = "01",
     .prog = "280000",
     .card = "0001"},
    {.name = "CutCardCodeOutsideListedSectorsIsABoxLabel",
     .code = "280000000123",
     .employeeSector = "01",
     .byBoxLabel = true,
     .cutCardSectors = "03",
     .identified = false,
     .message = "C\xF3"
                "d. Cx Colet. \"800000001\" n\xE3o localizado."},
    {.name = "CutCardCodeWithEmptyList",
     .code = "280000000123",
     .employeeSector = "03",
     .kind = "F",
     .sector = "03",
     .prog = "280000",
     .card = "0001"},
    // Operation-by-sector cards: "OP" and 13 characters, posted in the card's sector.
    {.name = "OperationCard",
     .code = "OP00031234567",
     .kind = "O",
     .sector = "02",
     .prog = "000123",
     .card = "0045",
     .subCard = "0003",
     .operation = "10"},
    {.name = "OperationCardWholeCard",
     .code = "OP00001234567",
     .kind = "O",
     .sector = "02",
     .prog = "000123",
     .card = "0045",
     .subCard = "0000",
     .operation = "10"},
    {.name = "OperationCardMissing",
     .code = "OP00010000042",
     .identified = false,
     .message = "C\xF3"
                "d. Ficha Op. Setor \"42\" n\xE3o localizado."},
    {.name = "OperationCardWithoutOrderItem",
     .code = "OP00017654321",
     .identified = false,
     .message = "C\xF3"
                "d. Ficha Op. Setor \"7654321\" n\xE3o localizado."},
    {.name = "LowerCaseOpIsAPlainCard",
     .code = "op00031234567",
     .kind = "F",
     .sector = "01",
     .prog = "OP0003",
     .card = "1234"},
    {.name = "TwelveCharacterOpIsAPlainCard",
     .code = "OP0003123456",
     .kind = "F",
     .sector = "01",
     .prog = "OP0003",
     .card = "1234"},
    {.name = "FourteenCharacterOpIsAPlainCard",
     .code = "OP000312345678",
     .kind = "S",
     .sector = "01",
     .prog = "OP0003",
     .card = "1234",
     .subCard = "5678"},
    // Box labels: 10 or 12 characters for LUMORA or with BAIXA_POR_TALAO.
    {.name = "BoxLabelInEmployeeSector",
     .code = "9123456700",
     .company = "LUMORA",
     .kind = "T",
     .sector = "01",
     .prog = "000123",
     .card = "0045",
     .subCard = "0007",
     .boxLabel = 1234567},
    {.name = "BoxLabelNamingItsSector",
     .code = "9123456702",
     .company = "LUMORA",
     .kind = "T",
     .sector = "02",
     .prog = "000123",
     .card = "0045",
     .subCard = "0007",
     .boxLabel = 1234567},
    {.name = "BoxLabelTwelveCharacters",
     .code = "X12345678900",
     .byBoxLabel = true,
     .kind = "T",
     .sector = "01",
     .prog = "000123",
     .card = "0045",
     .subCard = "0012",
     .boxLabel = 123456789},
    {.name = "BoxLabelInSectorOutsideSequence",
     .code = "9123456709",
     .company = "LUMORA",
     .identified = false,
     .message = "Setor nao encontrado"},
    {.name = "BoxLabelMissing",
     .code = "0000000100",
     .byBoxLabel = true,
     .identified = false,
     .message = "C\xF3"
                "d. Cx Colet. \"1\" n\xE3o localizado."},
    {.name = "BoxLabelWithoutOrderItem",
     .code = "0765432100",
     .byBoxLabel = true,
     .identified = false,
     .message = "C\xF3"
                "d. Cx Colet. \"7654321\" n\xE3o localizado."},
    {.name = "CompanyNameInOtherCaseIsNoBoxLabel",
     .code = "9123456700",
     .company = "lumora",
     .kind = "F",
     .sector = "01",
     .prog = "912345",
     .card = "6700"},
    {.name = "ElevenCharactersIsNoBoxLabel",
     .code = "91234567001",
     .company = "LUMORA",
     .kind = "F",
     .sector = "01",
     .prog = "912345",
     .card = "6700"},
    // Sub-production labels: any 9 characters.
    {.name = "SubProductionLabel",
     .code = "X12345678",
     .kind = "I",
     .sector = "01",
     .prog = "000123",
     .card = "0045",
     .subCard = "0002",
     .idSubProd = 12345678},
    {.name = "SubProductionLabelMissing",
     .code = "ABCDEFGHI",
     .identified = false,
     .message = "C\xF3"
                "d. Sub Prod. \"0\" n\xE3o localizado."},
    // FENTAX cards of 13 characters starting with "3" ignore the layout.
    {.name = "FentaxCard",
     .code = "3000123045020",
     .company = "FENTAX",
     .layout = {.progPos = 2, .progLen = 2},
     .kind = "S",
     .sector = "01",
     .prog = "000123",
     .card = "045",
     .subCard = "0002"},
    {.name = "FentaxLayoutForOtherCodes",
     .code = "4000123004500",
     .company = "FENTAX",
     .kind = "F",
     .sector = "01",
     .prog = "400012",
     .card = "3004",
     .subCard = "0000"},
    // Plain cards cut by the layout.
    {.name = "WholeCard",
     .code = "00012300450000",
     .kind = "F",
     .sector = "01",
     .prog = "000123",
     .card = "0045"},
    {.name = "SubCard",
     .code = "00012300450003",
     .kind = "S",
     .sector = "01",
     .prog = "000123",
     .card = "0045",
     .subCard = "0003"},
    {.name = "SemicolonsAndLowerCaseInProgramme",
     .code = "12;4ab00450001",
     .kind = "S",
     .sector = "01",
     .prog = "12/4AB",
     .card = "0045",
     .subCard = "0001"},
    {.name = "ShortCodeLeavesProgrammeEmpty", .code = "00012", .kind = "F", .sector = "01"},
    {.name = "EmptyCode", .code = "", .kind = "F", .sector = "01"},
    {.name = "BlankCodeIsNotCut",
     .code = "    ",
     .layout = {.progPos = 1,
                .progLen = 2,
                .cardPos = 1,
                .cardLen = 2,
                .subPos = 1,
                .subLen = 2,
                .sectorPos = 1,
                .sectorLen = 2},
     .kind = "F",
     .sector = "01"},
    {.name = "SectorFromTheCode",
     .code = "0001230045000102",
     .layout = {.sectorPos = 15, .sectorLen = 2},
     .kind = "S",
     .sector = "02",
     .prog = "000123",
     .card = "0045",
     .subCard = "0001"},
    {.name = "SectorFromTheCodeOutsideSequence",
     .code = "0001230045000109",
     .layout = {.sectorPos = 15, .sectorLen = 2},
     .identified = false,
     .message = "Setor nao encontrado"},
    {.name = "EmployeeWithoutSector",
     .code = "00012300450000",
     .employeeSector = "",
     .identified = false,
     .message = "Setor nao encontrado"},
    {.name = "OneDigitSubCard",
     .code = "00012300451",
     .layout = {.subLen = 1},
     .kind = "S",
     .sector = "01",
     .prog = "000123",
     .card = "0045",
     .subCard = "0001"},
    {.name = "ThreeZeroSubCardIsWholeCard",
     .code = "0001230045000",
     .layout = {.subLen = 3},
     .kind = "F",
     .sector = "01",
     .prog = "000123",
     .card = "0045"},
    // Wider than the sub-card columns: refused here rather than by the database.
    {.name = "FiveCharacterSubCardIsRefused",
     .code = "000123004500000",
     .layout = {.subLen = 5},
     .identified = false,
     .message = "C\xF3"
                "digo inv\xE1lido: Subficha com mais de 4 caracteres."},
    {.name = "SectorWiderThanItsColumnIsRefused",
     .code = "0001230045000101X",
     .layout = {.sectorPos = 15, .sectorLen = 3},
     .identified = false,
     .message = "C\xF3"
                "digo inv\xE1lido: Setor com mais de 2 caracteres."},
};

INSTANTIATE_TEST_SUITE_P(Shapes, CardIdentificationTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<IdentificationCase>& info) {
                           return std::string(info.param.name);
                         });

class CardIdentificationRefreshTest : public ProductionDatabaseTest {};

TEST_F(CardIdentificationRefreshTest, EachCardSeesTheCurrentSectorsAndCompanyName) {
  setProductionParam("PROG_POSINI", "1");
  setProductionParam("PROG_TAM", "6");
  addOrderItem("P1", "001", "000123", "0045");
  insert("CODCXCOLET", {{"CODIGO_CX", 1234567},
                        {"PEDIDO_CX", std::string("P1")},
                        {"ITEMPED_CX", std::string("001")},
                        {"TALAO_CX", std::string("7")}});
  auto module = createModule();
  TDadosAtuProducao dados;
  std::string message;

  EXPECT_FALSE(module->IdentificarFicha("9123456700", "05", dados, message));
  EXPECT_EQ(message, "Setor nao encontrado");

  // Set up in the office while the server runs: the next card sees both.
  addSector("05", "MONTAGEM", 5);
  setCompany("LUMORA");
  ASSERT_TRUE(module->IdentificarFicha("9123456700", "05", dados, message)) << message;
  EXPECT_EQ(dados.TipoAtualizacao, "T");
  EXPECT_EQ(dados.Setor, "05");
  EXPECT_EQ(dados.CodCxColet, 1234567);

  setCompany("");
  ASSERT_TRUE(module->IdentificarFicha("9123456700", "05", dados, message)) << message;
  EXPECT_EQ(dados.TipoAtualizacao, "F");
  EXPECT_EQ(dados.Prog, "912345");
}

}  // namespace
}  // namespace mts::test
