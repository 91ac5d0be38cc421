#include "plover/database_reg.h"
#include "runtime/program_start.h"

int main(int argc, char** argv) {
  rt::Program app(argc, argv);
  plover::database_reg database_reg;
  database_reg.open();
  return app.exec();
}
