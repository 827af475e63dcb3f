// Ring: tests. See stepping.h.
#include "tests/reference/stepping.h"

#include "core/poly_text.h"
#include "tapwell/preferred_values.hpp"
#include "core/shift_register.h"
#include "jobs/line_builder.h"
#include "runtime/log_stream.h"
#include "jobs/system_texts.h"
#include "tests/reference/order_walk.h"

namespace tapwell::reference {

namespace {

std::uint32_t period_of(int n) { return static_cast<std::uint32_t>((std::uint64_t{1} << n) - 1u); }

std::int64_t phase_of_taps(std::uint32_t ta, std::uint32_t tb, std::uint32_t top, std::uint32_t start) {
    const std::uint32_t period = 2u * top - 1u;
    std::uint32_t a = 1, b = start, differ = 0;
    for (std::uint32_t k = 0; k < period; ++k) {
        differ += (a ^ b) & 1u;
        a = register_step(a, ta, top);
        b = register_step(b, tb, top);
    }
    return static_cast<std::int64_t>(period) - 2 * static_cast<std::int64_t>(differ);
}

bool is_preferred_value(std::int64_t r, std::int64_t t) { return r == -1 || r == t - 2 || r == -t; }

}  // namespace

std::int64_t phase(int n, std::uint32_t ga, std::uint32_t gb, std::uint32_t start) {
    const std::uint32_t top = 1u << (n - 1);
    return phase_of_taps(taps_of(ga, top), taps_of(gb, top), top, start);
}

std::vector<std::int64_t> all_phases(int n, std::uint32_t ga, std::uint32_t gb) {
    std::vector<std::int64_t> r(period_of(n));
    for (std::uint32_t s = 1; s <= r.size(); ++s) r[s - 1] = phase(n, ga, gb, s);
    return r;
}

bool preferred(std::uint32_t ga, std::uint32_t gb, int n) {
    const std::int64_t t = preferred_t(n);
    for (std::uint32_t p = 1; p <= period_of(n); ++p) {
        if (!is_preferred_value(phase(n, ga, gb, p), t)) return false;
    }
    return true;
}

std::uint32_t walk_search(int n) {
    const std::uint32_t e = 1u << (n - 1);
    LineBuilder line;
    log_write_line(line.text(texts::SEARCH_DEGREE).number(n).text(texts::SEARCH_FROM).polynomial(e + 1).view());
    std::uint32_t found = 0;
    for (std::uint32_t s = 1; s < e; ++s) {
        if (!is_primitive(e + s, n)) continue;
        log_write_line(line.clear().polynomial(e + s).view());
        ++found;
    }
    log_write_line(line.clear().text(texts::SEARCH_FINISHED).number(found).view());
    log_flush();
    return found;
}

std::uint64_t stepping_correlation(int n, std::uint32_t poly_a, std::uint32_t poly_b) {
    LineBuilder line;
    log_write_line(line.text(texts::REGISTER_A).polynomial(poly_a).view());
    log_write_line(line.clear().text(texts::REGISTER_B).polynomial(poly_b).view());
    std::uint64_t sum = 0;
    for (std::uint32_t dt = 0; dt < period_of(n); ++dt) {
        const std::int64_t r = phase(n, poly_a, poly_b, dt + 1);
        sum += static_cast<std::uint64_t>(r + 1 < 0 ? -(r + 1) : r + 1);
        log_write_line(line.clear().text(texts::PHASE).number(dt).text(texts::PHASE_VALUE).number(r).view());
    }
    log_write_line(line.clear().text(texts::CORRELATION_COMPLETED).number(sum).view());
    log_flush();
    return sum;
}

std::uint32_t stepping_pairs(const std::uint32_t* list, std::uint32_t count, int n, std::uint32_t limit) {
    const std::uint32_t top = 1u << (n - 1);
    const std::int64_t t = preferred_t(n);
    LineBuilder line;
    log_write_line(line.text(texts::PAIRS_HEADER).number(n).text(texts::PAIRS_LIST_SIZE).number(count).view());
    std::uint32_t found = 0;
    for (std::uint32_t i = 0; i + 1 < count && found < limit; ++i) {
        for (std::uint32_t j = i + 1; j < count && found < limit; ++j) {
            bool preferred = true;
            for (std::uint32_t p = 1; p < 2 * top && preferred; ++p) {
                preferred = is_preferred_value(phase_of_taps(taps_of(list[i], top), taps_of(list[j], top), top, p), t);
            }
            if (!preferred) continue;
            line.clear().polynomial(list[i]).text(texts::PAIR_SEPARATOR).polynomial(list[j]);
            log_write_line(line.view());
            ++found;
        }
    }
    log_write_line(line.clear().text(texts::PAIRS_COMPLETED).number(found).view());
    log_flush();
    return found;
}

void fprintf_generation(std::FILE* file, RegisterBank& bank, int mode) {
    const int registers = mode == 0 ? 1 : mode == 1 ? bank.output_width : 2;
    for (int j = 0; j < registers; ++j) {
        const ShiftRegister& r = bank.registers[j];
        LineBuilder name;
        if (mode == 0) name.text(texts::SERIAL_REGISTER);
        if (mode == 1) name.text(texts::PARALLEL_REGISTER).number(j).text(texts::PARALLEL_REGISTER_END);
        if (mode == 2) name.text(j == 0 ? texts::REGISTER_A : texts::REGISTER_B);
        std::fprintf(file, "%.*s%s1%.*s%s\n", static_cast<int>(name.view().size()), name.view().data(),
                     format_binary(r.poly).c_str(), static_cast<int>(texts::INITIAL.size()), texts::INITIAL.data(),
                     format_binary(r.state).c_str());
    }
    const int width = bank.output_width;
    const std::uint32_t mask = width == 32 ? ~0u : (1u << width) - 1u;
    for (std::uint32_t i = 0; i < bank.output_count; ++i) {
        std::uint32_t value = 0;
        if (mode == 1) {
            for (int j = 0; j < width; ++j) value |= (bank.registers[j].state & 1u) << j;
            bank_step(bank, width);
        } else {
            value = bank.registers[0].state & mask;
            register_advance(bank, 0);
            if (mode == 2) {
                value = (value ^ bank.registers[1].state) & mask;
                register_advance(bank, 1);
            }
        }
        std::fprintf(file, "%u\n", value);
    }
    std::fprintf(file, "%.*s", static_cast<int>(texts::GENERATION_COMPLETED.size()), texts::GENERATION_COMPLETED.data());
    std::fflush(file);
}

}  // namespace tapwell::reference
