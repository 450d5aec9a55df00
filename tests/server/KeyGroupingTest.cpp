// The same keys give the same screens, LEDs and postings however the network
// groups them into reads, and however long production takes to answer: random
// key sequences, each delivered once key by key with every answer at once, and
// again cut into reads at random points with the answers coming back at random
// later points, must leave the same trace.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "server/CardSubmission.h"
#include "server/ClientConnect.h"
#include "server/RegConnections.h"
#include "server/TerminalInput.h"
#include "server/TerminalScreen.h"
#include "support/ServerFakes.h"

namespace mts {
namespace {

using test::Printable;

// One terminal against the key handling, the screen and the card flow, with
// a production module that knows a few badges and cards.
class Session {
 public:
  Session(bool stxEtx, bool leds, bool answersLater = false) {
    production_.deferAnswers = answersLater;
    TerminalSettings settings;
    settings.ProtocolStxEtx = stxEtx;
    screen_.Settings() = settings;
    production_.employees["1001"] = {"017", "JOAO", "10"};
    production_.cards["0001"].request.TipoAtualizacao = "F";
    production_.cards["0002"].refusal = "Ficha j\xE1 atualizada.";
    production_.cards["00010100010000"].request.TipoAtualizacao = "S";
    if (leds) registry_.SetLedTerminals({"10.0.0.5"});
    connection_ = listener_.connect("10.0.0.5");
    ClientConnect(registry_, screen_, connection_, listener_.active);
  }

  void Read(const std::string& bytes) { input_.ServerClientRead(connection_, bytes); }
  void BlinksEnd() {
    // A blink starts only once its badge is answered.
    Answers();
    timer_.runAll();
  }
  // Delivers every answer production owes.
  void Answers() {
    while (production_.answerNext()) {
    }
  }

  // Everything the session left behind: the bytes the terminal received (its
  // screens and LEDs), the received-data lines, the production calls (the rows
  // written among them) and the terminal's record.
  std::string Trace() const {
    const TRegConnection& terminal = registry_.TerminalAt(0);
    std::string trace = "sent: " + Printable(connection_->sent()) + "\nreceived:\n";
    for (const std::string& line : view_.received) trace += "  " + Printable(line) + "\n";
    trace += "production:\n";
    for (const std::string& call : production_.calls) trace += "  " + Printable(call) + "\n";
    trace += "state " + std::to_string(static_cast<int>(terminal.State)) + ", input \"" +
             Printable(terminal.Input) + "\", result \"" + terminal.ShownResult +
             "\", employee \"" + terminal.EmployeeName + "\", pending " +
             std::to_string(timer_.pendingCount()) + "\n";
    return trace;
  }

 private:
  test::FakeListener listener_;
  test::ManualTimer timer_;
  TerminalScreen screen_{{}, timer_, [](const std::string&) {}};
  RegConnections registry_;
  test::RecordingView view_;
  test::FakeProductionOperations production_;
  CardSubmission submission_{screen_, production_,
                             [this](const std::string& line) { view_.addReceived(line); }};
  TerminalInput input_{registry_, screen_, submission_,
                       [this](const std::string& line) { view_.addReceived(line); }};
  std::shared_ptr<test::RecordingConnection> connection_;
};

// One step of a sequence: a key as a person or a reader sends it, or the end
// of the LED blinks under way (which only happens between reads).
struct Step {
  std::string key;  // empty: the blinks end
  bool printable = false;
};

// Keys typed one by one, codes scanned in one piece, control and function
// keys, weighted so that badges are accepted and cards posted often.
std::vector<Step> RandomSteps(std::mt19937& random, bool leds) {
  static const std::vector<std::string> kScanned = {"1001", "1001",           "0001",
                                                    "0002", "00010100010000", "9999"};
  static const std::vector<std::string> kTyped = {"1", "0", "2", "a", " ", ","};
  static const std::vector<std::string> kControls = {
      "\r", "\r", "\r", "\b", "\x7F", "\x1B", std::string(1, '\0'), "\n"};
  static const std::vector<std::string> kFunctionKeys = {"\x1B[A", "\x1BOP", "\x1B[11~"};
  auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  std::vector<Step> steps;
  const int length = std::uniform_int_distribution<int>(1, 40)(random);
  for (int i = 0; i < length; ++i) {
    const int kind = std::uniform_int_distribution<int>(0, 9)(random);
    if (kind < 3) {
      steps.push_back({pick(kScanned), true});
    } else if (kind < 5) {
      steps.push_back({pick(kTyped), true});
    } else if (kind < 8) {
      steps.push_back({pick(kControls), false});
    } else if (kind < 9) {
      steps.push_back({pick(kFunctionKeys), false});
    } else if (leds) {
      steps.push_back({"", false});
    }
  }
  return steps;
}

// The keys joined into reads: a cut falls between two keys with the given
// chance, always between two printable keys (joined, they would be one scanned
// code, which counts as one key) and always before the blinks end.
std::vector<Step> Grouped(const std::vector<Step>& steps, double cutChance, std::mt19937& random) {
  std::bernoulli_distribution cut(cutChance);
  std::vector<Step> reads;
  bool open = false;  // the last read can take more keys
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    if (step.key.empty()) {
      reads.push_back(step);
      open = false;
      continue;
    }
    const bool joins = open && !(step.printable && steps[i - 1].printable) && !cut(random);
    if (joins) {
      reads.back().key += step.key;
    } else {
      reads.push_back(step);
    }
    open = true;
  }
  return reads;
}

// With `answerChance`, production's answers owed so far come back before a
// read; the rest come back at the end.
std::string Delivered(Session& session, const std::vector<Step>& reads,
                      std::mt19937* random = nullptr, double answerChance = 1.0) {
  std::bernoulli_distribution answer(answerChance);
  for (const Step& read : reads) {
    if (random != nullptr && answer(*random)) session.Answers();
    if (read.key.empty()) {
      session.BlinksEnd();
    } else {
      session.Read(read.key);
    }
  }
  session.Answers();
  return session.Trace();
}

std::string Shown(const std::vector<Step>& reads) {
  std::string shown;
  for (const Step& read : reads)
    shown += "[" + (read.key.empty() ? "blinks end" : Printable(read.key)) + "] ";
  return shown;
}

TEST(KeyGrouping, ReadsCutAnywhereGiveTheSameResultAsOneKeyPerRead) {
  std::mt19937 random(20261211);
  for (const bool stxEtx : {false, true}) {
    for (const bool leds : {false, true}) {
      for (int sequence = 0; sequence < 400; ++sequence) {
        const std::vector<Step> steps = RandomSteps(random, leds);
        const double cutChance = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        const std::vector<Step> reads = Grouped(steps, cutChance, random);

        const double answerChance = std::uniform_real_distribution<double>(0.0, 1.0)(random);

        Session keyByKey(stxEtx, leds);
        Session joined(stxEtx, leds);
        Session answeredLater(stxEtx, leds, true);
        const std::string expected = Delivered(keyByKey, steps);
        ASSERT_EQ(Delivered(joined, reads), expected)
            << (stxEtx ? "STX-ETX" : "VT-100") << (leds ? ", LEDs" : "")
            << "\nreads: " << Shown(reads);
        ASSERT_EQ(Delivered(answeredLater, reads, &random, answerChance), expected)
            << (stxEtx ? "STX-ETX" : "VT-100") << (leds ? ", LEDs" : "")
            << ", answers later\nreads: " << Shown(reads);
      }
    }
  }
}

}  // namespace
}  // namespace mts
