#pragma once

// Fakes of the server's interfaces (connections, listener, view, event timer,
// production operations) and byte helpers, shared by the server's test suites.

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "production/CardPath.h"
#include "production/TDadosAtuProducao.h"
#include "production/TRetorno.h"
#include "server/ProductionOperations.h"
#include "server/ProductionRequests.h"
#include "server/ServerView.h"
#include "server/TerminalConnection.h"
#include "server/TerminalListener.h"
#include "support/FakeCardSteps.h"

namespace mts::test {

// Everything that reached the wire or the timer, in order: the bytes of each
// write as one entry, each delayed call as "<pause N>" when it was asked for.
using Journal = std::vector<std::string>;

// A terminal connection that records each write as one entry; writes after
// close() are dropped, as on a real connection.
class RecordingConnection : public TerminalConnection {
 public:
  explicit RecordingConnection(std::string address, Journal* journal = nullptr)
      : address_(std::move(address)), journal_(journal) {}

  std::string remoteAddress() const override { return address_; }
  bool isOpen() const override { return open_; }
  void send(std::string_view bytes) override {
    if (!open_) return;
    writes.emplace_back(bytes);
    if (journal_ != nullptr) journal_->emplace_back(bytes);
  }

  void close() { open_ = false; }
  // Every write so far, as one text.
  std::string sent() const {
    std::string all;
    for (const std::string& write : writes) all += write;
    return all;
  }

  std::vector<std::string> writes;

 private:
  std::string address_;
  Journal* journal_;
  bool open_ = true;
};

inline std::shared_ptr<RecordingConnection> MakeConnection(const std::string& address,
                                                           Journal* journal = nullptr) {
  return std::make_shared<RecordingConnection>(address, journal);
}

// An event timer whose calls run only when the test says so, in the order
// they fell due (then in the order they were asked for): the test decides
// what else happens "during" a pause.
class ManualTimer : public EventTimer {
 public:
  explicit ManualTimer(Journal* journal = nullptr) : journal_(journal) {}

  void callAfter(int milliseconds, std::function<void()> work) override {
    delays.push_back(milliseconds);
    if (journal_ != nullptr) journal_->push_back("<pause " + std::to_string(milliseconds) + ">");
    pending_.push_back({now_ + std::max(milliseconds, 0), std::move(work)});
  }

  std::size_t pendingCount() const { return pending_.size(); }

  void post(std::function<void()> work) override {
    const std::lock_guard<std::mutex> lock(postedMutex_);
    posted_.push_back(std::move(work));
    postedArrived_.notify_all();
  }
  // Waits up to `wait` for a posted call, then runs every posted call (and
  // those they post) on the calling thread; false when none came.
  bool runPosted(std::chrono::milliseconds wait = std::chrono::seconds(30)) {
    std::deque<std::function<void()>> calls;
    {
      std::unique_lock<std::mutex> lock(postedMutex_);
      if (!postedArrived_.wait_for(lock, wait, [this] { return !posted_.empty(); })) return false;
      calls.swap(posted_);
    }
    for (auto& call : calls) call();
    return true;
  }

  // Runs the call that falls due first; false when none is pending.
  bool runNext() {
    if (pending_.empty()) return false;
    auto first = pending_.begin();
    for (auto call = pending_.begin(); call != pending_.end(); ++call) {
      if (call->due < first->due) first = call;
    }
    Call call = std::move(*first);
    pending_.erase(first);
    now_ = call.due;
    call.work();
    return true;
  }
  // Runs calls, including those they ask for, until none is pending.
  void runAll() {
    while (runNext()) {
    }
  }

  // The delay of every call asked for, in order.
  std::vector<int> delays;

 private:
  struct Call {
    long due;
    std::function<void()> work;
  };
  Journal* journal_;
  std::deque<Call> pending_;
  long now_ = 0;
  std::mutex postedMutex_;
  std::condition_variable postedArrived_;
  std::deque<std::function<void()>> posted_;
};

class RecordingView : public ServerView {
 public:
  void addReceived(const std::string& line) override { received.push_back(line); }
  void addTerminalListEntry(const std::string& entry) override { entries.push_back(entry); }
  void setStatusPanel(int panel, const std::string& text) override {
    panels.at(static_cast<std::size_t>(panel)) = text;
  }
  void showError(const std::string& message) override { errors.push_back(message); }

  std::vector<std::string> received;
  std::vector<std::string> entries;
  std::array<std::string, 4> panels;
  std::vector<std::string> errors;
};

// A listening socket that listens whenever asked unless told otherwise.
class FakeListener : public TerminalListener {
 public:
  bool open(int port, std::string& error) override {
    ports.push_back(port);
    if (onOpen && !onOpen(port, error)) return false;
    listening = true;
    return true;
  }
  void close() override {
    ++closes;
    listening = false;
    for (auto& connection : active) static_cast<RecordingConnection&>(*connection).close();
    active.clear();
  }
  bool isListening() const override { return listening; }
  void setMaxConnections(std::size_t limit) override { maxConnections = limit; }
  const ActiveConnections& activeConnections() const override { return active; }

  // A new connection from the address, put in the active list.
  std::shared_ptr<RecordingConnection> connect(const std::string& address,
                                               Journal* journal = nullptr) {
    auto connection = MakeConnection(address, journal);
    active.push_back(connection);
    return connection;
  }
  // The peer leaves: the connection closes and leaves the active list.
  void disconnect(const std::shared_ptr<RecordingConnection>& connection) {
    connection->close();
    std::erase(active, connection);
  }

  // Decides each open: false refuses (with error set).
  std::function<bool(int port, std::string& error)> onOpen;
  std::vector<int> ports;
  int closes = 0;
  bool listening = false;
  std::size_t maxConnections = 0;
  ActiveConnections active;
};

// The production module as the badge and card flow sees it, scripted by the
// test. Every call is recorded in `calls` ("LocalizarFuncionario 1001", ...):
// production on a fake module: the badge from `employees`, and the real card
// path (PostCard) over the fake steps. As production requests it answers
// inside the call, or, with `deferAnswers`, when the test calls answerNext.
class FakeProductionOperations : public ProductionOperations,
                                 public ProductionRequests,
                                 public FakeCardSteps {
 public:
  struct Employee {
    std::string code;
    std::string name;
    std::string sector;
  };

  BadgeOutcome LookUpBadge(const std::string& badge) override {
    calls.push_back("LocalizarFuncionario " + badge);
    BadgeOutcome outcome;
    try {
      if (onBadge) onBadge();
    } catch (const std::exception&) {
      outcome.failure = std::current_exception();
      return outcome;
    }
    const auto found = employees.find(badge);
    if (found == employees.end()) return outcome;
    return {true, found->second.code, found->second.name, found->second.sector, nullptr};
  }

  CardOutcome PostCard(const CardRequest& request) override {
    return mts::PostCard(*this, request);
  }

  void LookUpBadge(const std::string& badge, BadgeAnswer answer) override {
    Answer([this, badge, answer = std::move(answer)] { answer(LookUpBadge(badge)); });
  }
  void PostCard(const CardRequest& request, CardAnswer answer) override {
    Answer([this, request, answer = std::move(answer)] { answer(PostCard(request)); });
  }

  // Runs the oldest deferred request and delivers its answer; false when none
  // is waiting.
  bool answerNext() {
    if (deferred.empty()) return false;
    std::function<void()> next = std::move(deferred.front());
    deferred.pop_front();
    next();
    return true;
  }

  std::map<std::string, Employee> employees;
  bool deferAnswers = false;
  std::deque<std::function<void()>> deferred;
  // Called by the badge look-up first; may throw.
  std::function<void()> onBadge;

 private:
  void Answer(std::function<void()> request) {
    if (deferAnswers) {
      deferred.push_back(std::move(request));
    } else {
      request();
    }
  }
};

// Bytes written as hexadecimal pairs separated by blanks: "1B 5B 48".
inline std::string Hex(std::string_view pairs) {
  std::string bytes;
  std::size_t i = 0;
  while (i < pairs.size()) {
    if (pairs[i] == ' ') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(pairs.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

// The text with every byte outside printable ASCII written as \xNN, for test
// names and messages.
inline std::string Printable(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kDigits[byte >> 4]);
      out.push_back(kDigits[byte & 0xF]);
    }
  }
  return out;
}

}  // namespace mts::test
