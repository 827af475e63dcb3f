// Ring: library. See tapwell/presets.hpp. The registers are core's records
// (core/presets.h), the one place that derives them from the standards; this
// file gives them the public form once, on first use.
#include "tapwell/presets.hpp"

#include "core/presets.h"
#include "library/poly_conversion.h"
#include "tapwell/errors.hpp"

namespace tapwell {

namespace {

Preset public_preset(const PresetRecord& r) {
    Preset p{r.name, r.source, GenerationMode::serial, {{polynomial_of_word(r.a), r.initial_a}}, r.inverted,
             r.longest_zero_run};
    if (r.mode == PresetMode::gold) {
        p.mode = GenerationMode::gold;
        p.registers.push_back({polynomial_of_word(r.b), r.initial_b});
    }
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

}  // namespace tapwell
