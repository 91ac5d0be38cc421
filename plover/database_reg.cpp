#include "plover/database_reg.h"

#include "plover/w_main.h"
#include "shared/globals.h"

namespace plover {

database_reg::database_reg() = default;
database_reg::~database_reg() = default;

void database_reg::open() {
  app_startup(QStringLiteral("database_reg"));
  w_main_ = std::make_unique<w_main>();
  w_main_->show();
  w_main_->open();
}

}  // namespace plover
