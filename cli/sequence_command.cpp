// Ring: cli. tapwell-cli sequence: the output of a register, a preset or a
// Gold code as a stream (bits, packed bytes, hex or bipolar text) to a file
// or standard output, from any chip on, at every degree to 64.
#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/fact_list.h"
#include "cli/job_runner.h"
#include "cli/output_file.h"
#include "cli/register_options.h"
#include "tapwell/errors.hpp"
#include "tapwell/streams.hpp"

namespace tapwell::cli {

namespace {

// One period is the default only while it can be written in reasonable
// time and space: 2^36 bits is 8 GiB packed.
constexpr std::uint64_t DEFAULT_LENGTH_LIMIT = std::uint64_t{1} << 36;

struct SequenceOptions {
    RegisterOptions registers;
    std::string output;
    StreamFormat format = StreamFormat::bits;
    BitOrder order = BitOrder::msb_first;
    std::optional<std::uint64_t> length;
    std::uint64_t skip = 0;
    bool json = false;
    bool quiet = false;
} options;

const char* format_name(StreamFormat f) {
    switch (f) {
        case StreamFormat::packed: return "packed";
        case StreamFormat::hex: return "hex";
        case StreamFormat::bipolar: return "bipolar";
        default: return "bits";
    }
}

int run_sequence() {
    ChosenRegisters chosen;
    int status = EXIT_USAGE;
    if (!read_registers(options.registers, chosen, status)) return status;
    StreamRequest request{chosen.source, options.skip, 0, options.format, options.order};
    try {
        if (options.length) {
            request.length = *options.length;
        } else if (chosen.preset && chosen.preset->origin.code_length != 0) {
            request.length = chosen.preset->origin.code_length;
        } else {
            const std::uint64_t period = source_period(chosen.source);
            if (period == 0 || period > DEFAULT_LENGTH_LIMIT) {
                print_error("the period of these registers is " +
                            (period == 0 ? std::string("more than 2^64") : std::to_string(period)) +
                            " bits, too long to write whole: give --length");
                return EXIT_REJECTED;
            }
            request.length = period;
        }
        stream_size(request);
    } catch (const Error& e) {
        print_error(e.what());
        return EXIT_REJECTED;
    }
    OutputFile out;
    std::string error;
    if (!out.open(options.output, error)) {
        print_error(error);
        return EXIT_USAGE;
    }
    const int written = write_output(out, [&](std::stop_token stop) {
        RunOptions run;
        run.stop = stop;
        write_stream(request, [&](std::span<const std::uint8_t> piece) { out.write(piece); }, run);
    });
    if (written != EXIT_DONE) return written;
    if (out.is_standard_output()) return EXIT_DONE;
    FactList facts;
    if (chosen.preset) facts.text("preset", chosen.preset->name);
    facts.number("registers", chosen.source.registers.size());
    facts.number("skip", request.skip);
    facts.number("length", request.length);
    facts.text("format", format_name(request.format));
    if (request.format == StreamFormat::packed || request.format == StreamFormat::hex) {
        facts.text("bit_order", request.order == BitOrder::msb_first ? "msb" : "lsb");
    }
    facts.number("bytes", stream_size(request));
    facts.text("output", options.output);
    return options.quiet ? EXIT_DONE : print_facts(facts, options.json);
}

}  // namespace

Command add_sequence_command(CLI::App& parent) {
    CLI::App* app = parent.add_subcommand(
        "sequence", "Write the output of a register (degree to 64, either form), a preset or a Gold code");
    add_register_options(*app, options.registers);
    const std::map<std::string, StreamFormat> formats = {{"bits", StreamFormat::bits},
                                                         {"packed", StreamFormat::packed},
                                                         {"hex", StreamFormat::hex},
                                                         {"bipolar", StreamFormat::bipolar}};
    app->add_option("--format", options.format,
                    "bits (0/1 text, one line; default), packed (bytes), hex (the packed bytes in hex, one line) "
                    "or bipolar (+1 for 0, -1 for 1)")
        ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case))
        ->option_text("bits|packed|hex|bipolar");
    const std::map<std::string, BitOrder> orders = {{"msb", BitOrder::msb_first}, {"lsb", BitOrder::lsb_first}};
    app->add_option("--bit-order", options.order,
                    "Where the first bit of each byte goes in packed and hex: msb (default) or lsb")
        ->transform(CLI::CheckedTransformer(orders, CLI::ignore_case))
        ->option_text("msb|lsb");
    app->add_option("--length", options.length,
                    "Bits to write; default one period (a code's length for the codes a standard cuts short)")
        ->option_text("N");
    app->add_option("--skip", options.skip, "The first chip written (default 0), reached without stepping there")
        ->option_text("K");
    app->add_option("--output", options.output,
                    "The file to write, whole or not at all (default: standard output); then the facts of the run "
                    "go to standard output")
        ->option_text("FILE");
    app->add_flag("--json", options.json, "The facts of the run as JSON");
    app->add_flag("--quiet", options.quiet, "No facts after writing a file");
    return {app, run_sequence};
}

}  // namespace tapwell::cli
