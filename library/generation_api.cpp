// Ring: library. generate of tapwell/sequences.hpp over the window's
// generation (library/generation.h).
#include <algorithm>

#include "core/mersenne.h"
#include "core/shift_register.h"
#include "library/api_support.h"
#include "library/generation.h"
#include "library/poly_conversion.h"
#include "library/refusals.h"
#include "tapwell/sequences.hpp"

namespace tapwell {

namespace {

std::size_t registers_wanted(const Generation& g) {
    switch (g.mode) {
        case GenerationMode::serial: return 1;
        case GenerationMode::parallel: return static_cast<std::size_t>(g.width);
        case GenerationMode::gold: return 2;
    }
    return 1;
}

// The request of a generation, refused in words where the window would
// refuse it.
GenerationRequest request_of(const Generation& g, std::uint64_t count) {
    if (g.width < 1 || g.width > GENERATION_MAX_WIDTH) {
        throw InvalidArgument("width " + std::to_string(g.width) + ": values are 1 to " +
                              std::to_string(GENERATION_MAX_WIDTH) + " bits wide");
    }
    const std::size_t wanted = registers_wanted(g);
    if (g.registers.size() < wanted || g.registers.size() > GENERATION_MAX_REGISTERS) {
        throw InvalidArgument("this generation takes " + std::to_string(wanted) + " to " +
                              std::to_string(GENERATION_MAX_REGISTERS) + " registers, not " +
                              std::to_string(g.registers.size()));
    }
    if (count > 0xFFFFFFFFu) throw InvalidArgument("a generation holds at most 2^32 - 1 values");
    GenerationRequest request;
    request.mode = g.mode;
    RegisterBank& bank = request.bank;
    bank.output_width = g.width;
    bank.output_count = static_cast<std::uint32_t>(count);
    for (std::size_t k = 0; k < g.registers.size(); ++k) {
        const Register& r = g.registers[k];
        const PolyWord p = word_of(r.polynomial);
        const std::string what = "register " + std::to_string(k);
        refuse(degree_refusal(p, what, 1, WINDOW_MAX_DEGREE));
        if (r.form != RegisterForm::fibonacci) {
            throw InvalidArgument(what + " is in Galois form: the window's generation steps its registers in Fibonacci form");
        }
        if (r.state == 0 || r.state > mersenne(p.degree)) {
            throw InvalidArgument(what + ": the state " + std::to_string(r.state) + " is not one of degree " +
                                  std::to_string(p.degree) + " (1 to 2^" + std::to_string(p.degree) + " - 1)");
        }
        ShiftRegister& s = bank.registers[k];
        s.poly = static_cast<std::uint32_t>(p.value);
        s.degree = p.degree;
        s.top = static_cast<std::uint32_t>(top_of(p));
        s.taps = taps_of(p);
        s.state = static_cast<std::uint32_t>(r.state);
    }
    if (!generation_valid(request)) {
        throw InvalidArgument("register 0 has degree " + std::to_string(g.registers[0].polynomial.degree()) +
                              ", fewer stages than the width " + std::to_string(g.width));
    }
    return request;
}

class SpanSink final : public GenerationSink {
public:
    explicit SpanSink(std::span<std::uint32_t> out) : out_(out) {}
    bool take(const GeneratedValues& block) override {
        std::copy(block.values, block.values + block.count, out_.begin() + static_cast<std::ptrdiff_t>(block.index));
        return true;
    }

private:
    std::span<std::uint32_t> out_;
};

}  // namespace

void generate(const Generation& generation, std::span<std::uint32_t> values, const RunOptions& options) {
    if (values.empty()) return;
    const GenerationRequest request = request_of(generation, values.size());
    SpanSink sink(values);
    throw_if_stopped(generate_values(request, context_of(options), sink));
}

std::vector<std::uint32_t> generate(const Generation& generation, const RunOptions& options) {
    const GenerationRequest request = request_of(generation, generation.count);
    std::vector<std::uint32_t> values(generation_count(request));
    SpanSink sink(values);
    throw_if_stopped(generate_values(request, context_of(options), sink));
    return values;
}

}  // namespace tapwell
