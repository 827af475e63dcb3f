// Ring: cli. tapwell-cli scramble: a file scrambled or descrambled with a
// preset's register or any register, additively or self-synchronously, into
// a file written whole or not at all.
#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/file_bytes.h"
#include "cli/job_runner.h"
#include "cli/output_file.h"
#include "cli/register_options.h"
#include "tapwell/errors.hpp"
#include "tapwell/scrambling.hpp"

namespace tapwell::cli {

namespace {

// The input is held whole while it is scrambled.
constexpr std::size_t MAX_INPUT_BYTES = std::size_t{1} << 30;
constexpr std::size_t PIECE_BYTES = std::size_t{1} << 20;

struct ScrambleOptions {
    RegisterOptions registers;
    std::string input, output, kind;
    bool descramble = false;
    BitOrder order = BitOrder::msb_first;
    bool json = false;
    bool quiet = false;
} options;

int run_scramble() {
    ChosenRegisters chosen;
    int status = EXIT_USAGE;
    if (!read_registers(options.registers, chosen, status)) return status;
    ScrambleKind kind = ScrambleKind::additive;
    if (!options.kind.empty()) {
        kind = options.kind == "multiplicative" ? ScrambleKind::multiplicative : ScrambleKind::additive;
    } else if (chosen.preset && chosen.preset->origin.kind == PresetKind::multiplicative) {
        kind = ScrambleKind::multiplicative;
    }
    std::string data, error;
    if (!read_file_bytes(options.input, MAX_INPUT_BYTES, data, error)) {
        print_error("--input: " + error);
        return EXIT_USAGE;
    }
    if (data.size() > MAX_INPUT_BYTES) {
        print_error("--input " + options.input + " is larger than 1 GiB; nothing was written");
        return EXIT_USAGE;
    }
    std::optional<Scrambler> scrambler;
    try {
        scrambler.emplace(ScrambleRequest{chosen.source, kind, options.descramble, options.order});
    } catch (const Error& e) {
        print_error(e.what());
        return EXIT_REJECTED;
    }
    OutputFile out;
    if (!out.open(options.output, error)) {
        print_error(error);
        return EXIT_USAGE;
    }
    auto* bytes = reinterpret_cast<unsigned char*>(data.data());
    const int written = write_output(out, [&](std::stop_token stop) {
        for (std::size_t at = 0; at < data.size(); at += PIECE_BYTES) {
            if (stop.stop_requested()) throw Stopped();
            const std::span<std::uint8_t> piece(bytes + at, std::min(PIECE_BYTES, data.size() - at));
            scrambler->process(piece);
            out.write(piece);
        }
    });
    if (written != EXIT_DONE) return written;
    if (out.is_standard_output() || options.quiet) return EXIT_DONE;
    FactList facts;
    if (chosen.preset) facts.text("preset", chosen.preset->name);
    facts.text("kind", kind == ScrambleKind::multiplicative ? "multiplicative" : "additive");
    facts.text("direction", options.descramble ? "descramble" : "scramble");
    facts.text("bit_order", options.order == BitOrder::msb_first ? "msb" : "lsb");
    facts.number("bytes", data.size());
    facts.text("output", options.output);
    return print_facts(facts, options.json);
}

}  // namespace

Command add_scramble_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "scramble", "Scramble or descramble a file with a register: additive or self-synchronous");
    add_register_options(*app, options.registers);
    app->add_flag("--descramble", options.descramble, "Descramble instead");
    app->add_option("--kind", options.kind,
                    "additive (the sequence added to the data) or multiplicative (self-synchronous); default the "
                    "preset's, else additive")
        ->check(CLI::IsMember({"additive", "multiplicative"}))
        ->option_text("additive|multiplicative");
    const std::map<std::string, BitOrder> orders = {{"msb", BitOrder::msb_first}, {"lsb", BitOrder::lsb_first}};
    app->add_option("--bit-order", options.order, "The order of a byte's bits in the stream: msb (default) or lsb")
        ->transform(CLI::CheckedTransformer(orders, CLI::ignore_case))
        ->option_text("msb|lsb");
    app->add_option("--input", options.input, "The file to read (- for standard input)")->required()->option_text("FILE");
    app->add_option("--output", options.output, "The file to write, whole or not at all (default: standard output)")
        ->option_text("FILE");
    app->add_flag("--json", options.json, "The facts of the run as JSON");
    app->add_flag("--quiet", options.quiet, "No facts after writing a file");
    return {app, run_scramble};
}

}  // namespace tapwell::cli
