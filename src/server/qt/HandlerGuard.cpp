#include "server/qt/HandlerGuard.h"

#include <cstdio>
#include <exception>

#include "routines/Windows1252Unicode.h"

namespace mts {
namespace {

void LastResort(const std::string& message) noexcept {
  try {
    const std::string utf8 = text::Utf8FromWindows1252(message);
    std::fprintf(stderr, "%s\n", utf8.c_str());
  } catch (...) {
    std::fputs("erro no tratamento de erro\n", stderr);
  }
  std::fflush(stderr);
}

void Deliver(const ErrorSink& sink, const std::string& message) noexcept {
  try {
    sink(message);
  } catch (const std::exception& error) {
    LastResort(message);
    LastResort(error.what());
  } catch (...) {
    LastResort(message);
  }
}

}  // namespace

void RunGuarded(const ErrorSink& sink, const std::function<void()>& work) noexcept {
  try {
    work();
  } catch (const std::exception& error) {
    Deliver(sink, error.what());
  } catch (...) {
    Deliver(sink, "erro desconhecido");
  }
}

}  // namespace mts
