#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "production/validation/RepeatedPosting.h"

namespace mts {
namespace {

using Kind = RepeatedPostingDecision::Kind;

const PostedThing kWholeCard{"0000"};
const PostedThing kSubCard{"0002"};
const PostedThing kLabel203{"0002", 0, 203};
const PostedThing kLabel204{"0002", 0, 204};
const PostedThing kBox301{"0001", 301};

TEST(DecidirBaixaRepetidaTest, EachModeCountsEachPairOnce) {
  struct Case {
    const char* name;
    bool partial;
    bool entryExit;
    std::vector<SectorPostingSeen> inSector;
    PostedThing thing;
    double qtde;
    Kind kind;
    double recorded;  // Qtde of the decision
    std::size_t namedRow;
  };
  const std::vector<Case> cases = {
      // Plain mode.
      {"plain: first posting", false, false, {}, kWholeCard, 12, Kind::Post, 12, 0},
      {"plain: posted before, named by the first row",
       false,
       false,
       {{kWholeCard, true, 12}, {kWholeCard, true, 12}},
       kWholeCard,
       12,
       Kind::Refuse,
       12,
       0},
      {"plain: a sub-card after one of its labels",
       false,
       false,
       {{kLabel203, true, 6}},
       kSubCard,
       12,
       Kind::Refuse,
       12,
       0},
      // Entry/exit mode.
      {"entry/exit: first scan is the entry", false, true, {}, kBox301, 12, Kind::Entry, 12, 0},
      {"entry/exit: second scan is the exit",
       false,
       true,
       {{kBox301, false, 12}},
       kBox301,
       12,
       Kind::Exit,
       12,
       0},
      {"entry/exit: third scan",
       false,
       true,
       {{kBox301, true, 12}},
       kBox301,
       12,
       Kind::Refuse,
       12,
       0},
      {"entry/exit: the open row of the same thing, after a complete one",
       false,
       true,
       {{kWholeCard, true, 12}, {kWholeCard, false, 12}},
       kWholeCard,
       12,
       Kind::Exit,
       12,
       0},
      {"entry/exit: a sub-card never completes its label's open row",
       false,
       true,
       {{kLabel203, false, 6}},
       kSubCard,
       12,
       Kind::Refuse,
       12,
       0},
      {"entry/exit: a label never completes another label's open row",
       false,
       true,
       {{kLabel204, false, 6}},
       kLabel203,
       6,
       Kind::Refuse,
       6,
       0},
      // Partial posting.
      {"partial: first posting", true, false, {}, kSubCard, 12, Kind::Post, 12, 0},
      {"partial: records only what the sector misses",
       true,
       false,
       {{kLabel203, true, 6}},
       kSubCard,
       12,
       Kind::Post,
       6,
       0},
      {"partial: 40 and 20 of 100",
       true,
       false,
       {{kWholeCard, true, 40}, {kWholeCard, true, 20}},
       kWholeCard,
       100,
       Kind::Post,
       40,
       0},
      {"partial: complete, named by the last row",
       true,
       false,
       {{kLabel203, true, 6}, {kSubCard, true, 6}},
       kSubCard,
       12,
       Kind::Refuse,
       12,
       1},
      {"partial: over-posted before",
       true,
       false,
       {{kWholeCard, true, 15}},
       kWholeCard,
       12,
       Kind::Refuse,
       12,
       0},
      // Both modes.
      {"both: the first posting has the exit columns",
       true,
       true,
       {},
       kSubCard,
       12,
       Kind::Post,
       12,
       0},
      {"both: what is missing, as a row of its own",
       true,
       true,
       {{kLabel203, true, 6}},
       kSubCard,
       12,
       Kind::Post,
       6,
       0},
      {"both: another's open row is left open and counted",
       true,
       true,
       {{kLabel203, false, 6}},
       kSubCard,
       12,
       Kind::Post,
       6,
       0},
      {"both: the same thing's open row gets its exit",
       true,
       true,
       {{kSubCard, false, 6}},
       kSubCard,
       12,
       Kind::Exit,
       12,
       0},
      {"both: complete", true, true, {{kSubCard, true, 12}}, kSubCard, 12, Kind::Refuse, 12, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RepeatedPostingDecision decision =
        DecidirBaixaRepetida(c.inSector, c.thing, c.qtde, c.partial, c.entryExit);
    EXPECT_EQ(decision.kind, c.kind);
    EXPECT_EQ(decision.Qtde, c.recorded);
    if (c.kind == Kind::Refuse) {
      EXPECT_EQ(decision.NamedRow, c.namedRow);
    }
  }
}

TEST(PostedThingTest, SameThingIsSameSubCardBoxAndLabel) {
  TDadosAtuProducao box;
  box.SubFicha = "0001";
  box.CodCxColet = 301;
  EXPECT_EQ(PostedThing::OfRequest(box), kBox301);
  EXPECT_EQ((PostedThing{"0001  ", 301}), kBox301);  // a padded sub-card is the same
  EXPECT_FALSE(kSubCard == kLabel203);
  EXPECT_FALSE(kLabel203 == kLabel204);
  EXPECT_FALSE((PostedThing{"0001"}) == kBox301);
  EXPECT_FALSE((PostedThing{"0002", 0, 0, 9}) == kSubCard);  // a raw-material sub-production
}

}  // namespace
}  // namespace mts
