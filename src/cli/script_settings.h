// The script arguments of the filter function, as one value: what a run or a sweep row uses.
#pragma once

namespace velmire::cli {

struct ScriptSettings {
  int threshold_y = 30;
  int noise = 60;
  int margin = 1;
  bool debug = false;
  int mode = 0;  // correction mode; this version has mode 0 only

  friend bool operator==(const ScriptSettings&, const ScriptSettings&) = default;
};

}  // namespace velmire::cli
