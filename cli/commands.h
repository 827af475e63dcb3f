// Ring: cli. The subcommands of tapwell-cli. Each one adds itself to the
// application and runs when it was the one named on the command line.
#pragma once

namespace CLI {
class App;
}

namespace tapwell::cli {

struct Command {
    CLI::App* app;
    int (*run)();
};

Command add_search_command(CLI::App& parent);
Command add_generate_command(CLI::App& parent);
Command add_correlate_command(CLI::App& parent);
Command add_pairs_command(CLI::App& parent);
Command add_describe_command(CLI::App& parent);
Command add_presets_command(CLI::App& parent);
Command add_identify_command(CLI::App& parent);
Command add_partner_command(CLI::App& parent);
Command add_check_pair_command(CLI::App& parent);
Command add_primitive_command(CLI::App& parent);
Command add_sequence_command(CLI::App& parent);
Command add_scramble_command(CLI::App& parent);
Command add_hdl_command(CLI::App& parent);
Command add_family_command(CLI::App& parent);

}  // namespace tapwell::cli
