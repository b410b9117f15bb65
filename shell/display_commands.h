// The 表示 menu's commands: the display options switched and the view's scale chosen, each
// kept in the profile at once.
#pragma once

#include <vector>

#include "shell/command_row.h"

namespace shogi {

// The 表示 menu's rows of the options, for the command table.
void AddDisplayRows(std::vector<CommandRow>& rows);

}  // namespace shogi
