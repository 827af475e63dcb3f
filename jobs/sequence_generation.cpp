// Ring: jobs. See sequence_generation.h.
#include "jobs/sequence_generation.h"

#include <charconv>
#include <cstring>

#include "core/poly_text.h"
#include "core/shift_register.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/leading_integer.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
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

// The one loop of every mode. Each value's line is formatted straight into the
// log's buffer by `write` (which returns the end of what it wrote, at most
// LINE_ROOM bytes), the first lines are shown, then `advance` steps the
// registers, kept in local words by the caller. The stop flag is polled at
// every value; one value costs at most 64 register steps.
constexpr std::size_t LINE_ROOM = 48;  // three ten-digit numbers, two separators and a line feed

template <typename Write, typename Advance>
JobOutcome run_values(FrontEnd& front_end, std::uint32_t count, bool gold, Write write, Advance advance) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (stop_pending()) return JobOutcome::stopped;
        char* at = log_reserve(LINE_ROOM);
        char* end = write(at);
        if (i <= DISPLAY_CAP) show_item(front_end, i, DISPLAY_CAP, {at, static_cast<std::size_t>(end - at)}, NOTE);
        *end++ = '\n';
        log_commit(end);
        advance();
        generated_count.store(i + 1, std::memory_order_relaxed);
        if (gold) found_count.store(i + 1, std::memory_order_relaxed);
    }
    return JobOutcome::finished;
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

std::uint32_t advanced(std::uint32_t state, const ShiftRegister& r, std::int32_t steps) {
    for (std::int32_t k = 0; k < steps; ++k) state = register_step(state, r.taps, r.top);
    return state;
}

// Up to 32 registers stepped together, one bit of a word per register: stage
// i of every register in stage[i]. One step of all of them is the one step
// rule (register_step) with the parity taken across registers at once: bit j
// of the feedback is the parity of register j's tapped stages, and it enters
// at register j's top stage while every stage moves down one.
struct SlicedRegisters {
    std::uint32_t stage[33] = {};  // stage[32] stays 0: nothing lies above a top
    std::uint32_t taps[32] = {};   // bit j: register j taps this stage
    std::uint32_t top[32] = {};    // bit j: this is register j's top stage

    SlicedRegisters(const RegisterBank& bank, int count) {
        for (int j = 0; j < count; ++j) {
            const ShiftRegister& r = bank.registers[j];
            for (int i = 0; i < r.degree; ++i) {
                stage[i] |= (r.state >> i & 1u) << j;
                taps[i] |= (r.taps >> i & 1u) << j;
            }
            top[r.degree - 1] |= 1u << j;
        }
    }
    // All 32 stages whatever the degrees (those above every top stay 0): a
    // fixed count the compiler turns into a few vector operations.
    void step() {
        std::uint32_t feedback = 0;
        for (int i = 0; i < 32; ++i) feedback ^= stage[i] & taps[i];
        for (int i = 0; i < 32; ++i) stage[i] = stage[i + 1] | (feedback & top[i]);
    }
};

bool show_register() { return setting(SET_SHOW_REGISTER) != 0; }

// The modes, once the width is 1..32, register 0 is usable and the bank's
// output_count is set. Each checks its own conditions first. finished means
// every value was written.
JobOutcome generate_serial(FrontEnd& front_end, RegisterBank& bank) {
    if (!register0_covers_width(bank)) return reject_parameters(front_end);
    LineBuilder header;
    log_header(header, texts::SERIAL_REGISTER, bank.registers[0]);
    const std::uint32_t mask = width_mask(bank.output_width);
    const std::int32_t width = bank.output_width;
    const ShiftRegister& r = bank.registers[0];
    std::uint32_t state = r.state;
    const auto advance = [&] { state = advanced(state, r, width); };
    if (show_register()) {
        return run_values(
            front_end, bank.output_count, false,
            [&](char* at) { return put_number(put_separator(put_number(at, state & mask)), state); }, advance);
    }
    return run_values(
        front_end, bank.output_count, false, [&](char* at) { return put_number(at, state & mask); }, advance);
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
    SlicedRegisters sliced(bank, width);
    // Bit j of stage 0 is register j's output.
    return run_values(
        front_end, bank.output_count, false, [&](char* at) { return put_number(at, sliced.stage[0]); },
        [&] { sliced.step(); });
}

JobOutcome generate_gold(FrontEnd& front_end, RegisterBank& bank) {
    if (!register0_covers_width(bank) || bank.registers[1].top == 0) return reject_parameters(front_end);
    LineBuilder header;
    log_header(header, texts::REGISTER_A, bank.registers[0]);
    log_header(header, texts::REGISTER_B, bank.registers[1]);
    const std::uint32_t mask = width_mask(bank.output_width);
    const std::int32_t width = bank.output_width;
    const ShiftRegister& ra = bank.registers[0];
    const ShiftRegister& rb = bank.registers[1];
    std::uint32_t a = ra.state, b = rb.state;
    const auto advance = [&] {
        a = advanced(a, ra, width);
        b = advanced(b, rb, width);
    };
    found_count.store(0, std::memory_order_relaxed);
    if (show_register()) {
        return run_values(
            front_end, bank.output_count, true,
            [&](char* at) {
                return put_number(put_separator(put_number(put_separator(put_number(at, (a ^ b) & mask)), a)), b);
            },
            advance);
    }
    return run_values(
        front_end, bank.output_count, true, [&](char* at) { return put_number(at, (a ^ b) & mask); }, advance);
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
    work_total.store(bank.output_count, std::memory_order_relaxed);

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
