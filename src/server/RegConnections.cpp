#include "server/RegConnections.h"

#include <algorithm>
#include <stdexcept>

namespace mts {

bool IsLedTerminal(const LedTerminalList& ledTerminals, std::string_view address) {
  return std::find(ledTerminals.begin(), ledTerminals.end(), address) != ledTerminals.end();
}

void RegConnections::SetLedTerminals(LedTerminalList ledTerminals) {
  ledTerminals_ = std::move(ledTerminals);
}

bool RegConnections::IsLedTerminal(std::string_view address) const {
  return mts::IsLedTerminal(ledTerminals_, address);
}

int RegConnections::RegisterTerminal(const std::string& address, const ActiveConnections& active) {
  // The newest connection from the address is the last one in the list.
  int socketIndex = -1;
  std::shared_ptr<TerminalConnection> newest;
  for (int i = static_cast<int>(active.size()) - 1; i >= 0; --i) {
    const auto& candidate = active[static_cast<std::size_t>(i)];
    if (candidate && candidate->isOpen() && candidate->remoteAddress() == address) {
      socketIndex = i;
      newest = candidate;
      break;
    }
  }

  int number = FindTerminal(address);
  if (number < 0) {
    entries_.emplace_back(address, std::make_unique<TRegConnection>());
    number = Count() - 1;
  }

  TRegConnection& record = *entries_[static_cast<std::size_t>(number)].second;
  record.SocketIndex = socketIndex;
  record.Connection = newest;
  record.TerminalNumber = number;
  record.HasLeds = IsLedTerminal(address);
  return number;
}

int RegConnections::FindTerminal(std::string_view address) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].first == address) return static_cast<int>(i);
  }
  return -1;
}

std::size_t RegConnections::CheckedPosition(int number) const {
  if (number < 0 || number >= Count()) {
    throw std::out_of_range("no terminal number " + std::to_string(number));
  }
  return static_cast<std::size_t>(number);
}

TRegConnection& RegConnections::TerminalAt(int number) {
  return *entries_[CheckedPosition(number)].second;
}

const TRegConnection& RegConnections::TerminalAt(int number) const {
  return *entries_[CheckedPosition(number)].second;
}

const std::string& RegConnections::AddressAt(int number) const {
  return entries_[CheckedPosition(number)].first;
}

}  // namespace mts
