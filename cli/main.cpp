// Ring: cli. tapwell-cli: the console front end over the same jobs as the
// window program, with the same log lines.
#include <CLI/CLI.hpp>

#include <vector>

#include "cli/commands.h"
#include "cli/job_runner.h"

#ifndef TAPWELL_VERSION
#define TAPWELL_VERSION "unknown"
#endif

int main(int argc, char** argv) {
    using namespace tapwell::cli;
    CLI::App app{"Tapwell: binary shift-register sequences over GF(2), from the console.\n"
                 "Log lines go to standard output (or --log FILE); the final status text goes to "
                 "standard error.\nExit status: 0 done, 1 parameters rejected, 2 usage or file "
                 "error, 130 interrupted (Ctrl-C aborts the job).",
                 "tapwell-cli"};
    app.set_version_flag("--version", "tapwell-cli " TAPWELL_VERSION);
    app.require_subcommand(1);

    const std::vector<Command> commands = {
        add_search_command(app),
        add_generate_command(app),
        add_correlate_command(app),
        add_pairs_command(app),
        add_describe_command(app),
        add_presets_command(app),
        add_identify_command(app),
        add_partner_command(app),
        add_check_pair_command(app),
        add_primitive_command(app),
        add_sequence_command(app),
        add_scramble_command(app),
        add_hdl_command(app),
        add_family_command(app),
    };

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return EXIT_USAGE;
    }
    for (const Command& command : commands) {
        if (command.app->parsed()) return command.run();
    }
    return EXIT_USAGE;
}
