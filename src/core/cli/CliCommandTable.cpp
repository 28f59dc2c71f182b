#include "core/cli/CliCommandTable.h"

namespace dorvan::cli {

// The options a command takes, and whether each takes a value.
const std::map<std::string, bool>& optionsOf(Command c)
{
    static const std::map<std::string, bool> solve { { "--start", true }, { "--stop", true },
        { "--precision", true }, { "--correction", true }, { "--groups", false }, { "--format", true },
        { "--crs", true }, { "--out", true }, { "--members", true }, { "--quiet", false } };
    static const std::map<std::string, bool> render { { "--start", true }, { "--stop", true },
        { "--precision", true }, { "--correction", true }, { "--groups", false }, { "--out", true },
        { "--size", true }, { "--picture", true }, { "--proportional", true }, { "--select", true },
        { "--contours", true }, { "--equal-scale", false }, { "--crs", true }, { "--centres", true },
        { "--time-limit", true }, { "--threads", true }, { "--seed", true }, { "--fixed", true },
        { "--min-places", true }, { "--max-places", true }, { "--quiet", false } };
    static const std::map<std::string, bool> places { { "--format", true } };
    static const std::map<std::string, bool> import { { "--out", true }, { "--crs", true } };
    static const std::map<std::string, bool> groups { { "--centres", true }, { "--starts", true },
        { "--seed", true }, { "--format", true }, { "--out", true }, { "--fixed", true },
        { "--max-places", true }, { "--crs", true }, { "--time-limit", true }, { "--threads", true },
        { "--min-places", true }, { "--quiet", false }, { "--members", true } };
    static const std::map<std::string, bool> network { { "--format", true }, { "--out", true },
        { "--size", true }, { "--method", true }, { "--time-limit", true }, { "--seed", true },
        { "--iterations", true } };
    static const std::map<std::string, bool> exportRun { { "--start", true }, { "--stop", true },
        { "--precision", true }, { "--correction", true }, { "--groups", false }, { "--format", true },
        { "--out", true }, { "--contours", true } };
    static const std::map<std::string, bool> report { { "--start", true }, { "--stop", true },
        { "--precision", true }, { "--correction", true }, { "--groups", false }, { "--out", true },
        { "--contours", true }, { "--picture", true }, { "--equal-scale", false }, { "--select", true },
        { "--size", true }, { "--proportional", true } };
    static const std::map<std::string, bool> map { { "--out", true }, { "--epsg", true },
        { "--scale", true } };
    static const std::map<std::string, bool> distances { { "--out", true }, { "--unit", true },
        { "--request-url", true } };
    switch (c) {
    case Command::Distances:
        return distances;
    case Command::Map:
        return map;
    case Command::Solve:
        return solve;
    case Command::Render:
        return render;
    case Command::Places:
        return places;
    case Command::Groups:
        return groups;
    case Command::Network:
        return network;
    case Command::Export:
        return exportRun;
    case Command::Report:
        return report;
    default:
        return import;
    }
}

std::optional<Command> commandNamed(std::string_view name)
{
    if (name == "solve")
        return Command::Solve;
    if (name == "render")
        return Command::Render;
    if (name == "places")
        return Command::Places;
    if (name == "import")
        return Command::Import;
    if (name == "groups")
        return Command::Groups;
    if (name == "network")
        return Command::Network;
    if (name == "export")
        return Command::Export;
    if (name == "report")
        return Command::Report;
    if (name == "map")
        return Command::Map;
    if (name == "distances")
        return Command::Distances;
    return std::nullopt;
}

} // namespace dorvan::cli
