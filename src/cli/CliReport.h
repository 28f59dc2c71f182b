#pragma once

// "dorvan-cli report": the PDF report of a solved run, the pages the window's "Zostava (PDF) ..."
// writes for the same project and settings.

#include "core/cli/CliArguments.h"

#include <iosfwd>

namespace dorvan::cli {

// Makes its own QGuiApplication on the offscreen platform when there is none. A file that
// cannot be written is a UsageError and leaves any earlier file as it was.
int reportCommand(const ReportOptions& options, std::ostream& out, std::ostream& err);

} // namespace dorvan::cli
