// The operator's commands: the texts that `nxi do` and nxi's standard input hand to the
// running nxi to drive the plant (route, lock, gpi, slot, name, status, redundancy, burst,
// show, panels, add, help). Each answers with a text; changes send the revertives and
// notifications they call for before the answer is given.
#pragma once

#include <string>
#include <string_view>

#include "notifications.h"
#include "panels.h"
#include "plant.h"

namespace velcrum::nxi {

struct OperatorAnswer {
  bool ok = false;
  std::string text;
};

// The summary of the commands, for `help` and `nxi --help`.
extern const char kOperatorCommandHelp[];

class OperatorCommands {
 public:
  OperatorCommands(Plant& plant, Panels& panels, Notifications& notifications)
      : plant_(plant), panels_(panels), notifications_(notifications) {}

  OperatorAnswer Run(std::string_view line);

 private:
  OperatorAnswer Add(const std::vector<std::string>& words);
  OperatorAnswer Show(int device) const;

  Plant& plant_;
  Panels& panels_;
  Notifications& notifications_;
};

}  // namespace velcrum::nxi
