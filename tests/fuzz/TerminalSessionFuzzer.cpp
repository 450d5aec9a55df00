// Several terminals connecting, typing and leaving against the key handling,
// the screen protocol and the card flow, with a production module whose
// answers (found, refused, database failure) and a timer whose firing the
// input decides.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "dataaccess/firebird/DatabaseError.h"
#include "server/CardSubmission.h"
#include "server/ClientConnect.h"
#include "server/ProductionRequests.h"
#include "server/RegConnections.h"
#include "server/TerminalInput.h"
#include "server/TerminalScreen.h"
#include "support/ServerFakes.h"

namespace {

using mts::fuzz::check;

// Reads the input as a stream of bytes; 0 once it is used up, so every run ends.
class ByteStream {
 public:
  ByteStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return position_ >= size_; }
  std::uint8_t next() { return done() ? 0 : data_[position_++]; }
  std::string_view take(std::size_t count) {
    const std::size_t n = std::min(count, size_ - std::min(position_, size_));
    const std::string_view bytes(reinterpret_cast<const char*>(data_ + position_), n);
    position_ += n;
    return bytes;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// A production module whose every answer is the next byte of the input: found
// or not, refused or not, or a database failure thrown from any call.
class ScriptedProduction : public mts::ProductionOperations, public mts::CardSteps {
 public:
  explicit ScriptedProduction(ByteStream& bytes) : bytes_(bytes) {}

  mts::BadgeOutcome LookUpBadge(const std::string&) override {
    mts::BadgeOutcome outcome;
    try {
      const std::uint8_t answer = Decide();
      if ((answer & 1) == 0) return outcome;
      // Names longer than the screen and with Windows-1252 bytes.
      outcome = {true, "017", (answer & 2) != 0 ? "JO\xC3O DA CONCEI\xC7\xC3O SILVA SANTOS" : "ANA",
                 "10", nullptr};
    } catch (const std::exception&) {
      outcome.failure = std::current_exception();
    }
    return outcome;
  }
  mts::CardOutcome PostCard(const mts::CardRequest& request) override {
    return mts::PostCard(*this, request);
  }
  bool IdentificarFicha(const std::string& codigo, const std::string&,
                        mts::TDadosAtuProducao& dados, std::string& mensagem) override {
    const std::uint8_t answer = Decide();
    if ((answer & 1) == 0) {
      // Refusals as long as the module's longest, with accents.
      mensagem = "Ficha " + codigo + " n\xE3o encontrada no setor \"COSTURA\" " +
                 std::string(answer % 90, '\xE7');
      return false;
    }
    static constexpr std::array<const char*, 6> kKinds = {"F", "S", "T", "I", "FC", "O"};
    dados.TipoAtualizacao = kKinds[(answer >> 1) % kKinds.size()];
    dados.FichaCorte = dados.TipoAtualizacao == "FC";
    dados.PossuiSubFicha = (answer & 0x40) != 0;
    return true;
  }
  mts::TRetorno ExecutarFicha(const mts::TDadosAtuProducao&,
                              const std::function<mts::TRetorno()>& work) override {
    Decide();
    return work();
  }
  mts::TRetorno ValidaAtuProducao() override {
    const std::uint8_t answer = Decide();
    if ((answer & 1) != 0) return {true, ""};
    return {false, std::string(answer % 120, 'X')};
  }
  void GravarAtuProducao() override { Decide(); }
  void GravarFichaCorteAtuSetor(const mts::db::Timestamp&) override { Decide(); }
  void GravarProdSetorOperacao() override { Decide(); }
  bool OperacoesSetorConcluidas() override { return (Decide() & 1) != 0; }
  mts::TDadosAtuProducao& CurrentRequest() override { return current_; }

 private:
  // The next answer; a few byte values make the call fail as the database would.
  std::uint8_t Decide() {
    const std::uint8_t answer = bytes_.next();
    if (answer >= 0xF0) throw mts::db::DatabaseError("lock conflict on no wait transaction");
    return answer;
  }

  ByteStream& bytes_;
  mts::TDadosAtuProducao current_;
};

constexpr std::array<const char*, 4> kAddresses = {"10.0.0.1", "10.0.0.2", "10.0.0.3",
                                                   "192.168.100.250"};

// Whatever happened, every registered terminal is in a state the key handling
// can go on from. A run of printable bytes in one read is one key (a scanned
// code), so the entry may pass its limit by at most one read before the next
// key submits it. Control bytes are keys or nothing, never text: none is
// ever kept in an entry (nor echoed with it).
void CheckTerminals(const mts::RegConnections& registry, std::size_t longestRead) {
  for (int number = 0; number < registry.Count(); ++number) {
    const mts::TRegConnection& terminal = registry.TerminalAt(number);
    check(terminal.TerminalNumber == number);
    check(terminal.Input.size() < mts::TerminalInput::kCardLimit + longestRead);
    check(terminal.EmployeeName.size() <= 20);
    check(std::none_of(terminal.Input.begin(), terminal.Input.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }));
    if (terminal.State == mts::TerminalState::WaitingBadge) {
      check(terminal.Input.size() < mts::TerminalInput::kBadgeLimit + longestRead);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteStream bytes(data, size);
  mts::test::FakeListener listener;
  mts::test::ManualTimer timer;
  mts::TerminalSettings settings;
  const std::uint8_t flags = bytes.next();
  settings.ProtocolStxEtx = (flags & 1) != 0;
  settings.WideKeyboard = (flags & 2) != 0;
  mts::TerminalScreen screen{settings, timer, [](const std::string&) {}};
  mts::RegConnections registry;
  if ((flags & 4) != 0) registry.SetLedTerminals({kAddresses[0], kAddresses[2]});
  ScriptedProduction production(bytes);
  mts::InlineProductionRequests requests(production);
  auto ignore = [](const std::string&) {};
  mts::CardSubmission submission{screen, requests, ignore};
  mts::TerminalInput input{registry, screen, submission, ignore};
  std::array<std::shared_ptr<mts::test::RecordingConnection>, kAddresses.size()> connections;

  // The server's error handler: a database failure ends that entry only.
  auto guarded = [](auto&& work) {
    try {
      work();
    } catch (const mts::db::DatabaseError&) {
    }
  };

  std::size_t longestRead = 1;
  while (!bytes.done()) {
    const std::uint8_t op = bytes.next();
    const std::size_t slot = (op >> 4) % connections.size();
    auto& connection = connections[slot];
    switch (op & 0x7) {
      case 0:  // a terminal connects (or reconnects) from its address
        if (connection) listener.disconnect(connection);
        connection = listener.connect(kAddresses[slot]);
        mts::ClientConnect(registry, screen, connection, listener.active);
        break;
      case 1:  // it leaves
        if (connection) listener.disconnect(connection);
        break;
      case 2:  // one timer call falls due (LED blinks)
        guarded([&] { timer.runNext(); });
        break;
      case 3:
      case 4:
      case 5: {  // a read of one key, as most terminals send them
        const std::string_view read = bytes.take(1);
        if (connection && !read.empty()) {
          guarded([&] { input.ServerClientRead(connection, read); });
        }
        break;
      }
      case 6: {  // a read of several bytes: keys the network joined, a scanned
                 // code with or without its Enter, a function key
        const std::string_view read = bytes.take(bytes.next() % 48);
        longestRead = std::max(longestRead, read.size());
        if (connection) guarded([&] { input.ServerClientRead(connection, read); });
        break;
      }
      case 7:  // a key from a connection the server never registered
        guarded(
            [&] { input.ServerClientRead(mts::test::MakeConnection("10.9.9.9"), bytes.take(1)); });
        break;
    }
    CheckTerminals(registry, longestRead);
  }
  guarded([&] { timer.runAll(); });
  CheckTerminals(registry, longestRead);
  return 0;
}
