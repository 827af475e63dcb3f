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

FactList facts_of(const ChosenRegisters& chosen, const StreamRequest& request) {
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
    if (!options.output.empty() && options.output != "-") facts.text("output", options.output);
    return facts;
}

// --json to standard output: the facts and, under "data", the stream itself
// as JSON can hold it: bits and hex as one string, packed bytes as their hex
// string, bipolar as an array of 1 and -1. Made from the text stream a piece
// at a time, so that it costs no more memory than the text.
class JsonData {
public:
    JsonData(OutputFile& out, StreamFormat format) : out_(out), bipolar_(format == StreamFormat::bipolar) {}
    void open(const FactList& facts) {
        std::string head = facts.json();
        head.pop_back();  // the object's '}', closed after the data
        head += bipolar_ ? ", \"data\": [" : ", \"data\": \"";
        put(head);
    }
    void piece(std::span<const std::uint8_t> text) {
        buffer_.clear();
        for (std::uint8_t c : text) {
            if (c == '\n' || (bipolar_ && c == '+')) continue;
            if (bipolar_ && c == ' ') {
                buffer_ += ", ";
            } else {
                buffer_ += static_cast<char>(c);
            }
        }
        put(buffer_);
    }
    void close() { put(bipolar_ ? "]}\n" : "\"}\n"); }

private:
    void put(std::string_view text) {
        out_.write({reinterpret_cast<const unsigned char*>(text.data()), text.size()});
    }
    OutputFile& out_;
    bool bipolar_;
    std::string buffer_;
};

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
            request.length = one_period_length(chosen.source);
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
    const FactList facts = facts_of(chosen, request);
    const bool json_data = options.json && out.is_standard_output();
    StreamRequest text = request;
    if (json_data && text.format == StreamFormat::packed) text.format = StreamFormat::hex;
    const int written = write_output(out, [&](std::stop_token stop) {
        RunOptions run;
        run.stop = stop;
        if (!json_data) {
            write_stream(request, [&](std::span<const std::uint8_t> piece) { out.write(piece); }, run);
            return;
        }
        JsonData data(out, text.format);
        FactList head = facts;
        if (request.format == StreamFormat::packed) head.text("data_encoding", "hex");
        data.open(head);
        write_stream(text, [&](std::span<const std::uint8_t> piece) { data.piece(piece); }, run);
        data.close();
    });
    if (written != EXIT_DONE || out.is_standard_output() || options.quiet) return written;
    return print_facts(facts, options.json);
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
    app->add_flag("--json", options.json,
                  "The facts of the run as JSON; to standard output, one object with the stream under \"data\"");
    app->add_flag("--quiet", options.quiet, "No facts after writing a file");
    return {app, run_sequence};
}

}  // namespace tapwell::cli
