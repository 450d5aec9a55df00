#include "server/qt/JournalStream.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace mts {

bool StreamIsJournal(std::FILE* stream, const char* journalStream) {
  if (journalStream == nullptr || *journalStream == '\0') return false;
  struct stat status {};
  if (fstat(fileno(stream), &status) != 0) return false;
  const std::string own = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
  return own == journalStream;
}

bool StreamIsJournal(std::FILE* stream) {
  return StreamIsJournal(stream, std::getenv("JOURNAL_STREAM"));
}

}  // namespace mts
