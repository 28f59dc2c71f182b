#pragma once

// dorvan-cli export: the run solve makes, written as GeoJSON or CSV.

#include "core/cli/CliArguments.h"

#include <iosfwd>

namespace dorvan::cli {

int exportCommand(const ExportOptions& options, std::ostream& out, std::ostream& err);

} // namespace dorvan::cli
