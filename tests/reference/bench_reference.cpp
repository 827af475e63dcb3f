// Ring: bench. See reference.h.
#include "tests/reference/bench_reference.h"

#include "tests/reference/order_walk.h"
#include "core/poly_text.h"
#include "core/preferred_values.h"
#include "core/shift_register.h"
#include "jobs/line_builder.h"
#include "jobs/log_stream.h"

namespace tapwell::bench {

namespace {

std::int64_t phase(std::uint32_t ta, std::uint32_t tb, std::uint32_t top, std::uint32_t start) {
    const std::uint32_t period = 2u * top - 1u;
    std::uint32_t a = 1, b = start, differ = 0;
    for (std::uint32_t k = 0; k < period; ++k) {
        differ += (a ^ b) & 1u;
        a = register_step(a, ta, top);
        b = register_step(b, tb, top);
    }
    return static_cast<std::int64_t>(period) - 2 * static_cast<std::int64_t>(differ);
}

}  // namespace

std::uint32_t walk_search(int n) {
    const std::uint32_t e = 1u << (n - 1);
    LineBuilder line;
    log_write_line(line.text("n=").number(n).text(", from=").polynomial(e + 1).view());
    std::uint32_t found = 0;
    for (std::uint32_t s = 1; s < e; ++s) {
        if (!is_primitive(e + s, n)) continue;
        log_write_line(line.clear().polynomial(e + s).view());
        ++found;
    }
    log_write_line(line.clear().text("Finished. found=").number(found).view());
    log_flush();
    return found;
}

std::uint64_t stepping_correlation(int n, std::uint32_t poly_a, std::uint32_t poly_b) {
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t ta = taps_of(poly_a, top), tb = taps_of(poly_b, top);
    LineBuilder line;
    log_write_line(line.text("polynominal_A=").polynomial(poly_a).view());
    log_write_line(line.clear().text("polynominal_B=").polynomial(poly_b).view());
    std::uint64_t sum = 0;
    for (std::uint32_t dt = 0; dt < 2u * top - 1u; ++dt) {
        const std::int64_t r = phase(ta, tb, top, dt + 1);
        sum += static_cast<std::uint64_t>(r + 1 < 0 ? -(r + 1) : r + 1);
        log_write_line(line.clear().text("dt=").number(dt).text(", r= ").number(r).view());
    }
    log_write_line(line.clear().text("Completed. sum|r+1| = ").number(sum).view());
    log_flush();
    return sum;
}

std::uint32_t stepping_pairs(const std::uint32_t* list, std::uint32_t count, int n, std::uint32_t limit) {
    const std::uint32_t top = 1u << (n - 1);
    const std::int64_t t = preferred_t(n);
    LineBuilder line;
    log_write_line(line.text("Seaching for Preferred pair Tapwell. n=").number(n).text(", No. of polynominal=").number(count).view());
    std::uint32_t found = 0;
    for (std::uint32_t i = 0; i + 1 < count && found < limit; ++i) {
        for (std::uint32_t j = i + 1; j < count && found < limit; ++j) {
            bool preferred = true;
            for (std::uint32_t p = 1; p < 2 * top && preferred; ++p) {
                const std::int64_t r = phase(taps_of(list[i], top), taps_of(list[j], top), top, p);
                preferred = r == -1 || r == t - 2 || r == -t;
            }
            if (!preferred) continue;
            line.clear().polynomial(list[i]).text(", ").polynomial(list[j]);
            log_write_line(line.view());
            ++found;
        }
    }
    log_write_line(line.clear().text("Completed. found = ").number(found).view());
    log_flush();
    return found;
}

void fprintf_generation(std::FILE* file, std::uint32_t poly, int n, std::uint32_t count) {
    const std::uint32_t top = 1u << (n - 1);
    const std::uint32_t taps = taps_of(poly, top);
    std::fprintf(file, "polynominal=%s1, initial=%s\n", format_binary(poly).c_str(), "1");
    std::uint32_t state = 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::fprintf(file, "%u\n", state & 1u);
        state = register_step(state, taps, top);
    }
    std::fprintf(file, "Completed.\n");
    std::fflush(file);
}

}  // namespace tapwell::bench
