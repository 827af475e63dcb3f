// Ring: jobs. See sequence_generation.h.
#include "jobs/sequence_generation.h"

#include <charconv>
#include <cstring>
#include <optional>

#include "core/poly_text.h"
#include "core/shift_register.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "library/generation.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 71;
constexpr std::string_view NOTE = texts::NOTE_GENERATED;
constexpr std::size_t LINE_ROOM = 48;  // three ten-digit numbers, two separators and a line feed

// A register's header line: what the line already holds (its name), then the
// polynomial and the initial state.
void log_register(LineBuilder& line, const ShiftRegister& r) {
    line.polynomial(r.poly).text(texts::INITIAL).text(format_binary(r.state).view());
    log_write_line(line.view());
}

void log_header(LineBuilder& line, std::string_view name, const ShiftRegister& r) {
    log_register(line.clear().text(name), r);
}

void log_headers(const GenerationRequest& request) {
    const RegisterBank& bank = request.bank;
    LineBuilder line;
    switch (request.mode) {
        case GenerationMode::serial: log_header(line, texts::SERIAL_REGISTER, bank.registers[0]); break;
        case GenerationMode::parallel:
            for (std::int32_t j = 0; j < bank.output_width; ++j) {
                line.clear().text(texts::PARALLEL_REGISTER).number(j).text(texts::PARALLEL_REGISTER_END);
                log_register(line, bank.registers[j]);
            }
            break;
        case GenerationMode::gold:
            log_header(line, texts::REGISTER_A, bank.registers[0]);
            log_header(line, texts::REGISTER_B, bank.registers[1]);
            break;
    }
}

// Width-1 values are single digits: written without the general conversion.
inline char* put_number(char* at, std::uint32_t value) {
    if (value < 10) {
        *at = static_cast<char>('0' + value);
        return at + 1;
    }
    return std::to_chars(at, at + 10, value).ptr;
}

char* put_separator(char* at) {
    std::memcpy(at, texts::VALUE_SEPARATOR.data(), texts::VALUE_SEPARATOR.size());
    return at + texts::VALUE_SEPARATOR.size();
}

// The job's sink: each value's line (with the registers' states when they
// are shown) formatted straight into the log's buffer, the first lines shown.
class ValueLines final : public GenerationSink {
public:
    ValueLines(FrontEnd& front_end, bool gold) : front_end_(front_end), gold_(gold) {}

    bool take(const GeneratedValues& block) override {
        if (block.state_b != nullptr) {
            return lines(block, [&](char* at, std::size_t k) {
                at = put_separator(put_number(put_separator(put_number(at, block.values[k])), block.state_a[k]));
                return put_number(at, block.state_b[k]);
            });
        }
        if (block.state_a != nullptr) {
            return lines(block, [&](char* at, std::size_t k) {
                return put_number(put_separator(put_number(at, block.values[k])), block.state_a[k]);
            });
        }
        return lines(block, [&](char* at, std::size_t k) { return put_number(at, block.values[k]); });
    }

private:
    // `write` formats value k at `at` (at most LINE_ROOM bytes) and returns
    // the end of what it wrote.
    template <typename Write>
    bool lines(const GeneratedValues& block, Write write) {
        if (stop_pending()) return false;
        for (std::size_t k = 0; k < block.count; ++k) {
            const std::uint64_t i = block.index + k;
            char* at = log_reserve(LINE_ROOM);
            char* end = write(at, k);
            if (i <= DISPLAY_CAP) {
                show_item(front_end_, static_cast<std::uint32_t>(i), DISPLAY_CAP,
                          {at, static_cast<std::size_t>(end - at)}, NOTE);
            }
            *end++ = '\n';
            log_commit(end);
        }
        const auto done = static_cast<std::uint32_t>(block.index + block.count);
        generated_count.store(done, std::memory_order_relaxed);
        if (gold_) found_count.store(done, std::memory_order_relaxed);
        return true;
    }

    FrontEnd& front_end_;
    const bool gold_;
};

// The window's mode setting as a mode; none for a value no mode has.
std::optional<GenerationMode> generation_mode(std::int32_t setting) {
    for (GenerationMode mode : {GenerationMode::serial, GenerationMode::parallel, GenerationMode::gold}) {
        if (setting == static_cast<std::int32_t>(mode)) return mode;
    }
    return std::nullopt;
}

}  // namespace

GenerationInput read_generation_input(const char* width, const char* count, std::string_view list, std::int32_t mode,
                                      bool show_register) {
    GenerationInput input;
    input.bank.output_width = leading_integer(width);
    input.bank.output_count = static_cast<std::uint32_t>(leading_integer(count));
    parse_register_list(input.bank, list, REGISTER_COUNT);
    input.mode = mode;
    input.show_register = show_register;
    return input;
}

JobOutcome generate_sequences(FrontEnd& front_end) {
    return run_generation(front_end, read_generation_input(text_slot(SLOT_WIDTH), text_slot(SLOT_OUTPUT_COUNT),
                                                           text_slot(SLOT_POLY_LIST), setting(SET_GEN_MODE),
                                                           setting(SET_SHOW_REGISTER) != 0));
}

JobOutcome run_generation(FrontEnd& front_end, const GenerationInput& input) {
    begin_job(front_end);
    generated_count.store(0, std::memory_order_relaxed);
    GenerationRequest request;
    RegisterBank& bank = request.bank;
    bank = input.bank;

    if (bank.output_width < 1 || bank.output_width > GENERATION_MAX_WIDTH || bank.registers[0].top == 0) {
        return reject_parameters(front_end);
    }
    bank.output_count = generation_count(request);
    work_total.store(bank.output_count, std::memory_order_relaxed);
    const std::optional<GenerationMode> mode = generation_mode(input.mode);
    if (!mode) return close_job(front_end, {});  // an unknown mode from a settings file: no output at all
    request.mode = *mode;
    request.with_states = input.show_register && *mode != GenerationMode::parallel;
    if (!generation_valid(request)) return reject_parameters(front_end);

    log_headers(request);
    if (*mode == GenerationMode::gold) found_count.store(0, std::memory_order_relaxed);
    ValueLines sink(front_end, *mode == GenerationMode::gold);
    if (generate_values(request, {job_stop_token(), job_threads()}, sink) == RunEnd::stopped) {
        return JobOutcome::stopped;
    }
    return close_job(front_end, texts::GENERATION_COMPLETED);
}

}  // namespace tapwell
