#include "server/qt/ServerApp.h"

int main(int argc, char** argv) {
  return mts::RunServer(argc, argv);
}
