// Ring: jobs. See sequence_generation.h.
#include "jobs/sequence_generation.h"

#include <charconv>

#include "core/poly_text.h"
#include "core/shift_register.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "jobs/log_stream.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 71;
constexpr std::string_view NOTE = texts::NOTE_GENERATED;

enum GenMode : std::int32_t { MODE_SERIAL = 0, MODE_PARALLEL = 1, MODE_GOLD = 2 };

std::uint32_t width_mask(std::int32_t width) {
    return 2u * (1u << (width - 1)) - 1u;  // all 32 bits for width 32, no overflow
}

// Register 0 is at least as wide as a word: its degree is not below the width.
bool register0_covers_width(const RegisterBank& bank) {
    return bank.registers[0].top >= (1u << (bank.output_width - 1));
}

// A register's header line: what the line already holds (its name), then the
// polynomial and the initial state.
void log_register(LineBuilder& line, const ShiftRegister& r) {
    line.polynomial(r.poly).text(texts::INITIAL).text(format_binary(r.state).view());
    log_write_line(line.view());
}

void log_header(LineBuilder& line, std::string_view name, const ShiftRegister& r) {
    log_register(line.clear().text(name), r);
}

// The common loop: for each of output_count values, `form` writes the value line
// into the builder and `advance` steps the registers. The stop flag is polled
// at every value; one value costs at most 64 register steps.
template <typename Form, typename Advance>
JobOutcome run_values(FrontEnd& front_end, const RegisterBank& bank, bool gold, Form form, Advance advance) {
    const std::uint32_t count = bank.output_count;
    LineBuilder line;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (stop_pending()) return JobOutcome::stopped;
        form(line.clear());
        log_write_line(line.view());
        show_item(front_end, i, DISPLAY_CAP, line.view(), NOTE);
        advance();
        generated_count.store(i + 1, std::memory_order_relaxed);
        if (gold) found_count.store(i + 1, std::memory_order_relaxed);
    }
    return JobOutcome::finished;
}

bool show_register() { return setting(SET_SHOW_REGISTER) != 0; }

// The modes, once the width is 1..32, register 0 is usable and the bank's
// output_count is set. Each checks its own conditions first. finished means
// every value was written.
JobOutcome generate_serial(FrontEnd& front_end, RegisterBank& bank) {
    if (!register0_covers_width(bank)) return reject_parameters(front_end);
    LineBuilder header;
    log_header(header, texts::SERIAL_REGISTER, bank.registers[0]);
    const std::uint32_t mask = width_mask(bank.output_width);
    const bool with_state = show_register();
    ShiftRegister& r0 = bank.registers[0];
    if (with_state) {
        return run_values(
            front_end, bank, false,
            [&](LineBuilder& line) { line.number(r0.state & mask).text(texts::VALUE_SEPARATOR).number(r0.state); },
            [&] { register_advance(bank, 0); });
    }
    // The long runs: one number a line, formatted straight into the log's
    // buffer with the register in a local word; the same lines, counters, cap
    // and stop as run_values.
    const std::uint32_t count = bank.output_count;
    const std::int32_t width = bank.output_width;
    const std::uint32_t taps = r0.taps, top = r0.top;
    std::uint32_t state = r0.state;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (stop_pending()) return JobOutcome::stopped;
        char* at = log_reserve(16);  // ten digits and a line feed
        char* end = std::to_chars(at, at + 15, state & mask).ptr;
        if (i <= DISPLAY_CAP) {
            show_item(front_end, i, DISPLAY_CAP, {at, static_cast<std::size_t>(end - at)}, NOTE);
        }
        *end++ = '\n';
        log_commit(end);
        for (std::int32_t k = 0; k < width; ++k) state = register_step(state, taps, top);
        generated_count.store(i + 1, std::memory_order_relaxed);
    }
    return JobOutcome::finished;
}

JobOutcome generate_parallel(FrontEnd& front_end, RegisterBank& bank) {
    const std::int32_t width = bank.output_width;
    bool valid = register0_covers_width(bank);
    for (std::int32_t j = 1; j < width && valid; ++j) valid = bank.registers[j].top != 0;
    if (!valid) return reject_parameters(front_end);
    LineBuilder header;
    for (std::int32_t j = 0; j < width; ++j) {
        const ShiftRegister& r = bank.registers[j];
        log_register(header.clear().text(texts::PARALLEL_REGISTER).number(j).text(texts::PARALLEL_REGISTER_END), r);
    }
    return run_values(
        front_end, bank, false,
        [&](LineBuilder& line) {
            std::uint32_t word = 0;
            for (std::int32_t j = 0; j < width; ++j) word |= (bank.registers[j].state & 1u) << j;
            line.number(word);
        },
        [&] { bank_step(bank, width); });
}

JobOutcome generate_gold(FrontEnd& front_end, RegisterBank& bank) {
    if (!register0_covers_width(bank) || bank.registers[1].top == 0) return reject_parameters(front_end);
    LineBuilder header;
    log_header(header, texts::REGISTER_A, bank.registers[0]);
    log_header(header, texts::REGISTER_B, bank.registers[1]);
    const std::uint32_t mask = width_mask(bank.output_width);
    const bool with_state = show_register();
    ShiftRegister& a = bank.registers[0];
    ShiftRegister& b = bank.registers[1];
    found_count.store(0, std::memory_order_relaxed);
    return run_values(
        front_end, bank, true,
        [&](LineBuilder& line) {
            line.number((a.state ^ b.state) & mask);
            if (with_state) line.text(texts::VALUE_SEPARATOR).number(a.state).text(texts::VALUE_SEPARATOR).number(b.state);
        },
        [&] {
            register_advance(bank, 0);
            register_advance(bank, 1);
        });
}

}  // namespace

JobOutcome generate_sequences(FrontEnd& front_end) {
    begin_job(front_end);
    generated_count.store(0, std::memory_order_relaxed);
    RegisterBank bank;
    bank.output_width = leading_integer(text_slot(SLOT_WIDTH));
    bank.output_count = static_cast<std::uint32_t>(leading_integer(text_slot(SLOT_OUTPUT_COUNT)));
    parse_register_list(bank, text_slot(SLOT_POLY_LIST), REGISTER_COUNT);

    const ShiftRegister& r0 = bank.registers[0];
    if (bank.output_width < 1 || bank.output_width > 32 || r0.top == 0) return reject_parameters(front_end);
    if (bank.output_count == 0) bank.output_count = 2u * r0.top - 1u;

    JobOutcome outcome = JobOutcome::finished;
    switch (setting(SET_GEN_MODE)) {
        case MODE_SERIAL: outcome = generate_serial(front_end, bank); break;
        case MODE_PARALLEL: outcome = generate_parallel(front_end, bank); break;
        case MODE_GOLD: outcome = generate_gold(front_end, bank); break;
        default: return close_job(front_end, {});  // an unknown mode from a settings file: no output at all
    }
    if (outcome != JobOutcome::finished) return outcome;
    return close_job(front_end, texts::GENERATION_COMPLETED);
}

}  // namespace tapwell
