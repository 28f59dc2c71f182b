// dorvan-cli: location-allocation of DORVAN from the command line.
#include "core/cli/CliArguments.h"
#include "core/common/MapRaster.h"
#include "core/cli/CliCommands.h"
#include "core/cli/ExportCommand.h"
#include "cli/CliNetwork.h"
#include "cli/CliRender.h"
#include "cli/CliReport.h"

#include <exception>
#include <unistd.h>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    using namespace dorvan::cli;
    const dorvan::GeoLibrariesRelease release;
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        CliRequest req = parseArguments(args);
        // Progress is drawn only where someone watches it.
        const bool terminal = isatty(2) != 0;
        req.groups.list.terminal = terminal;
        req.render.solve.list.terminal = terminal;
        switch (req.command) {
        case Command::Help:
            std::cout << usageText(req.helpTopic);
            return ExitOk;
        case Command::Solve:
            return solveCommand(req.solve, std::cout, std::cerr);
        case Command::Render:
            return renderCommand(req.render, std::cout, std::cerr);
        case Command::Places:
            return placesCommand(req.places, std::cout, std::cerr);
        case Command::Import:
            return importCommand(req.import, std::cout, std::cerr);
        case Command::Groups:
            return groupsCommand(req.groups, std::cout, std::cerr);
        case Command::Network:
            return networkCommand(req.network, std::cout, std::cerr);
        case Command::Export:
            return exportCommand(req.exportRun, std::cout, std::cerr);
        case Command::Report:
            return reportCommand(req.report, std::cout, std::cerr);
        case Command::Map:
            return mapCommand(req.map, std::cout, std::cerr);
        case Command::Distances:
            return distancesCommand(req.distances, std::cout, std::cerr);
        }
    } catch (const UsageError& e) {
        std::cerr << "dorvan-cli: " << e.what() << '\n';
        return ExitBadInput;
    } catch (const std::exception& e) {
        std::cerr << "dorvan-cli: " << e.what() << '\n';
        return ExitBadInput;
    }
    return ExitOk;
}
