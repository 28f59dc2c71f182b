#pragma once

// dorvan-cli's commands by name and the options each takes: the table the argument reader checks
// every argument against.

#include "core/cli/CliArguments.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace dorvan::cli {

// The options a command takes, and whether each takes a value.
const std::map<std::string, bool>& optionsOf(Command c);

// The command a name on the command line stands for.
std::optional<Command> commandNamed(std::string_view name);

} // namespace dorvan::cli
