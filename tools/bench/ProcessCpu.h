#pragma once

#include <sys/types.h>

#include <chrono>

namespace mts::bench {

// CPU time (user and system, every thread) that process `pid` has used so far;
// zero when it cannot be read.
std::chrono::microseconds processCpuTime(pid_t pid);

// CPU used by the program that answers cards (mtserver, or this process for
// the floor's own connection) and by Firebird.
struct CpuSpent {
  std::chrono::microseconds program{0};
  std::chrono::microseconds database{0};
};

// What the two processes have used so far.
CpuSpent cpuSpentSoFar(pid_t program, pid_t database);
// Adds what the two processes used while `work` ran to `total`.
template <typename Work>
void addCpuOf(CpuSpent& total, pid_t program, pid_t database, Work&& work) {
  const CpuSpent before = cpuSpentSoFar(program, database);
  work();
  const CpuSpent after = cpuSpentSoFar(program, database);
  total.program += after.program - before.program;
  total.database += after.database - before.database;
}

// Per card, in milliseconds.
struct CpuFigures {
  double programMsPerCard = 0;
  double databaseMsPerCard = 0;
};
CpuFigures perCard(const CpuSpent& spent, int cards);

}  // namespace mts::bench
