#include "server/qt/HandlerGuard.h"

#include <cstdio>
#include <exception>

#include "server/qt/Windows1252.h"

namespace mts {
namespace {

void LastResort(const std::string& message) noexcept {
  try {
    std::string text = Windows1252ToUtf8(message);
    std::fprintf(stderr, "%s\n", text.c_str());
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
