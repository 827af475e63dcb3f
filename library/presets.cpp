// Ring: library. See tapwell/presets.hpp. The registers are core's records
// (core/presets.h), the one place that derives them from the standards; this
// file gives them the public form once, on first use.
#include "tapwell/presets.hpp"

#include "core/presets.h"
#include "core/standard_presets.h"
#include "library/api_support.h"
#include "library/poly_conversion.h"
#include "tapwell/errors.hpp"

namespace tapwell {

namespace {

Preset public_preset(const PresetRecord& r) {
    Preset p{r.name, r.source, GenerationMode::serial, {{polynomial_of_word(r.a), r.initial_a, r.form}}, r.inverted,
             r.longest_zero_run};
    if (r.mode == PresetMode::gold) {
        p.mode = GenerationMode::gold;
        p.registers.push_back({polynomial_of_word(r.b), r.initial_b, r.form});
    }
    p.origin = r.origin;
    return p;
}

const std::vector<Preset>& all_presets() {
    static const std::vector<Preset> list = [] {
        std::vector<Preset> out;
        for (const PresetRecord& r : preset_records()) out.push_back(public_preset(r));
        return out;
    }();
    return list;
}

}  // namespace

std::span<const Preset> presets() { return all_presets(); }

const Preset& preset(std::string_view name) {
    const PresetRecord* r = preset_named(name);
    if (r == nullptr) throw InvalidArgument("no preset named '" + std::string(name) + "'; presets() lists them");
    return all_presets()[static_cast<std::size_t>(r - preset_records().data())];
}

Preset preset(std::string_view name, std::uint64_t value) {
    preset(name);
    PresetRecord r;
    refuse(standard_preset_with(name, value, r));
    return public_preset(r);
}

std::vector<std::uint8_t> preset_bits(const Preset& p, std::size_t count) {
    std::vector<std::uint8_t> bits(count, p.inverted ? 1 : 0);
    for (const Register& reg : p.registers) {
        // With data of zeros a self-synchronous scrambler sends what enters
        // its register: the register's output n bits on.
        const std::size_t ahead = p.origin.kind == PresetKind::multiplicative ? static_cast<std::size_t>(reg.polynomial.degree()) : 0;
        const std::vector<std::uint8_t> out = register_bits(reg, ahead + count);
        for (std::size_t i = 0; i < count; ++i) bits[i] ^= out[ahead + i];
    }
    return bits;
}

}  // namespace tapwell
