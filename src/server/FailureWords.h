#pragma once

#include <exception>
#include <string>

namespace mts {

// What an operator is told, behind the "," key, when a badge or card could not
// be handled because something failed (not refused by a rule): plain words for
// the database's usual failures, the message itself for any other error.
// Windows-1252, at most 80 characters for the database's usual failures.
std::string FailureWords(const std::exception& error);

// True when the database may have committed what failed (the link went while
// its commit was under way): the operator must not be told it was not done.
bool OutcomeUnknown(const std::exception& error);

// The error's own message on one line, for the received-data view and the
// log (the database's messages span several lines).
std::string FailureDetail(const std::exception& error);

}  // namespace mts
