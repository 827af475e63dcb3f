// Ring: jobs. See cross_correlation.h.
#include "jobs/cross_correlation.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <new>

#include "core/all_phase_correlation.h"
#include "core/poly_text.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/line_builder.h"
#include "jobs/log_stream.h"
#include "jobs/parallel_transforms.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 70;
// Steps between two looks at the stop flag: well under a millisecond.
constexpr std::uint32_t PHASE_SLICE = 1u << 16;

// The phase index as decimal digits, counted up in place: cheaper than
// converting each of millions of consecutive numbers anew.
struct DecimalCounter {
    // The digits end at END; the bytes after them are padding so a fixed-size
    // copy may read past the last digit.
    static constexpr int END = 12;
    char digits[END + 16] = {};
    int length = 1;

    DecimalCounter() { digits[END - 1] = '0'; }
    const char* begin() const { return digits + END - length; }
    void next() {
        int i = END - 1;
        while (i >= END - length && digits[i] == '9') digits[i--] = '0';
        if (i < END - length) {
            digits[i] = '1';
            ++length;
        } else {
            ++digits[i];
        }
    }
};

}  // namespace

std::optional<std::int64_t> phase_correlation(RegisterBank& bank, std::uint32_t start_state) {
    ShiftRegister& a = bank.registers[0];
    ShiftRegister& b = bank.registers[1];
    const std::uint32_t period = a.top != 0 ? 2u * a.top - 1u : 0u;
    // Local copies keep the hot loop in registers.
    std::uint32_t sa = 1, sb = start_state;
    const std::uint32_t ta = a.taps, topa = a.top, tb = b.taps, topb = b.top;
    std::int64_t r = 0;
    std::uint32_t remaining = period;
    bool stopped = false;
    while (true) {
        const std::uint32_t slice = remaining < PHASE_SLICE ? remaining : PHASE_SLICE;
        std::uint32_t differ = 0;
        for (std::uint32_t i = 0; i < slice; ++i) {
            differ += (sa ^ sb) & 1u;
            sa = register_step(sa, ta, topa);
            sb = register_step(sb, tb, topb);
        }
        r += static_cast<std::int64_t>(slice) - 2 * static_cast<std::int64_t>(differ);
        remaining -= slice;
        if (stop_pending()) {
            stopped = true;
            break;
        }
        if (remaining == 0) break;
    }
    a.state = sa;
    b.state = sb;
    if (stopped) return std::nullopt;
    return r;
}

JobOutcome correlate_pair(FrontEnd& front_end) {
    begin_job(front_end);
    RegisterBank bank;
    parse_register_list(bank, text_slot(SLOT_POLY_LIST), 2);
    const ShiftRegister& a = bank.registers[0];
    const ShiftRegister& b = bank.registers[1];
    if (a.top == 0 || b.top == 0 || a.degree != b.degree) return reject_parameters(front_end);

    LineBuilder line;
    log_write_line(line.text(texts::REGISTER_A).polynomial(a.poly).view());
    log_write_line(line.clear().text(texts::REGISTER_B).polynomial(b.poly).view());

    // Every phase at once by the transform (all_phase_correlation.h), a chunk of
    // states at a time; the lines then go out in phase order as stepping would
    // write them. The transform looks at the stop flag as it works.
    // Not cleared here: the transform clears each chunk in pieces, looking at
    // the stop flag, and up to a gigabyte takes a while. When the memory is not
    // to be had, smaller chunks (more passes over the sequence) give the same
    // values.
    WorkerPool pool;
    CorrelationPlan plan = plan_correlation(a.degree, a.taps, b.taps);
    std::unique_ptr<std::int32_t[]> narrow;
    std::unique_ptr<std::int64_t[]> wide;
    while (true) {
        const std::size_t size = std::size_t{1} << plan.chunk_bits;
        if (plan.wide) {
            wide.reset(plan.chunk_bits > 12 ? new (std::nothrow) std::int64_t[size] : new std::int64_t[size]);
        } else {
            narrow.reset(plan.chunk_bits > 12 ? new (std::nothrow) std::int32_t[size] : new std::int32_t[size]);
        }
        if (wide || narrow) break;
        plan = with_smaller_chunks(plan);
    }
    // |r + 1| is at most 2^n per phase, so the total stays below 2^64 even at
    // degree 32; it is printed whole rather than wrapped to 32 bits.
    std::uint64_t sum = 0;
    found_count.store(0, std::memory_order_relaxed);
    work_total.store((std::uint64_t{1} << a.degree) - 1u, std::memory_order_relaxed);
    std::uint32_t dt = 0;
    DecimalCounter dt_text;
    for (std::uint32_t chunk = 0; chunk < plan.chunk_count; ++chunk) {
        const bool done = plan.wide ? correlate_chunk(pool, plan, chunk, wide.get())
                                    : correlate_chunk(pool, plan, chunk, narrow.get());
        if (!done) return JobOutcome::stopped;
        const std::size_t size = std::size_t{1} << plan.chunk_bits;
        // State 0 is no phase: the phases are the states 1 .. 2^n - 1.
        for (std::size_t l = (chunk == 0 ? 1 : 0); l < size; ++l, ++dt, dt_text.next()) {
            if (stop_pending()) return JobOutcome::stopped;
            const std::int64_t r = plan.wide ? wide[l] : narrow[l];
            const std::int64_t r1 = r + 1;
            sum += static_cast<std::uint64_t>(r1 < 0 ? -r1 : r1);
            // "dt=%u, r= %d" formatted in place: millions of lines a second.
            char* at = log_reserve(48);
            constexpr std::size_t PHASE_SIZE = texts::PHASE.size(), VALUE_SIZE = texts::PHASE_VALUE.size();
            std::memcpy(at, texts::PHASE.data(), PHASE_SIZE);
            std::memcpy(at + PHASE_SIZE, dt_text.begin(), 12);  // the digits and some padding, overwritten next
            char* end = at + PHASE_SIZE + dt_text.length;
            std::memcpy(end, texts::PHASE_VALUE.data(), VALUE_SIZE);
            end = std::to_chars(end + VALUE_SIZE, at + 47, r).ptr;
            if (dt <= DISPLAY_CAP) {
                show_item(front_end, dt, DISPLAY_CAP, {at, static_cast<std::size_t>(end - at)}, texts::NOTE_CORRELATION);
            }
            *end++ = '\n';
            log_commit(end);
            found_count.store(dt + 1, std::memory_order_relaxed);
        }
    }

    line.clear().text(texts::CORRELATION_COMPLETED).number(sum).text("\n");
    return close_job(front_end, line.view());
}

}  // namespace tapwell
