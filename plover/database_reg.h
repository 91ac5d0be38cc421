#pragma once
// plover's application object: the shared start-up, then the window.
#include <memory>

namespace plover {

class w_main;

class database_reg {
 public:
  database_reg();
  ~database_reg();
  // Finds the program folder and the settings file, opens w_main and loads the settings.
  void open();
  w_main* window() const { return w_main_.get(); }

 private:
  std::unique_ptr<w_main> w_main_;
};

}  // namespace plover
