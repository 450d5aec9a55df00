#pragma once

#include <cstdio>
#include <string_view>

namespace mts {

// True when the stream is a connection to the systemd journal: the variable
// JOURNAL_STREAM ("device:inode", set by systemd for a service's standard
// output and error) names the stream's own file. A stream redirected
// elsewhere (a pipe to another program, a file) is not, even under systemd.
bool StreamIsJournal(std::FILE* stream, const char* journalStream);
bool StreamIsJournal(std::FILE* stream);

}  // namespace mts
