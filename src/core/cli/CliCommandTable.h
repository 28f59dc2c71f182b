#pragma once

// dorvan-cli's commands by name and the options each takes: the table the argument reader checks
// every argument against.

#include "core/cli/CliArguments.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace dorvan::cli {

// The options a command takes, and whether each takes a value.
const std::map<std::string, bool>& optionsOf(Command c);

// The command a name on the command line stands for.
std::optional<Command> commandNamed(std::string_view name);

// The options of a place list given instead of a project (solve, groups, render), read from the
// options given; an option that belongs to the other kind of input is a UsageError.
void readListOptions(Command c, const std::string& cmd, const std::string& input,
    const std::map<std::string, std::string>& values, const std::set<std::string>& flags, ListOptions& o);

} // namespace dorvan::cli
