#pragma once

// dorvan-cli export: the run solve makes, written as GeoJSON or CSV.

#include "core/cli/CliArguments.h"

#include <iosfwd>

namespace dorvan::cli {

// Writes text beside the path and renames it over the path: a failure leaves no half file.
// Throws UsageError with the path when it cannot be written.
void writeTextFile(const std::string& path, const std::string& text);

int exportCommand(const ExportOptions& options, std::ostream& out, std::ostream& err);

} // namespace dorvan::cli
