// Ring: tests. The public presets are core's records, entry for entry, and
// are found by name.
#include <gtest/gtest.h>

#include "core/presets.h"
#include "tapwell/errors.hpp"
#include "tapwell/presets.hpp"

namespace tapwell {
namespace {

void expect_register(const Register& r, PolyWord p, std::uint64_t state, const std::string& name) {
    EXPECT_EQ(r.polynomial.value(), p.value) << name;
    EXPECT_EQ(r.polynomial.degree(), p.degree) << name;
    EXPECT_EQ(r.state, state) << name;
}

TEST(Presets, AreCoresRecords) {
    const std::vector<PresetRecord>& records = preset_records();
    const std::span<const Preset> list = presets();
    ASSERT_EQ(list.size(), records.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Preset& p = list[i];
        const PresetRecord& r = records[i];
        EXPECT_EQ(p.name, r.name);
        EXPECT_EQ(p.source, r.source);
        EXPECT_EQ(p.inverted, r.inverted) << r.name;
        EXPECT_EQ(p.longest_zero_run, r.longest_zero_run) << r.name;
        const bool gold = r.mode == PresetMode::gold;
        EXPECT_EQ(p.mode, gold ? GenerationMode::gold : GenerationMode::serial) << r.name;
        ASSERT_EQ(p.registers.size(), gold ? 2u : 1u) << r.name;
        expect_register(p.registers[0], r.a, r.initial_a, r.name);
        if (gold) expect_register(p.registers[1], r.b, r.initial_b, r.name);
        EXPECT_EQ(&preset(r.name), &p);
    }
}

TEST(Presets, ByName) {
    const Preset& prbs15 = preset("prbs15");
    // The standard's connection polynomial is the reciprocal of the window's.
    EXPECT_EQ(prbs15.registers[0].polynomial.reciprocal().format(Notation::algebraic), "x^15 + x^14 + 1");
    EXPECT_TRUE(prbs15.inverted);
    EXPECT_EQ(preset("gps-ca-32").registers.size(), 2u);
    try {
        (void)preset("prbs8");
        ADD_FAILURE();
    } catch (const InvalidArgument& e) {
        EXPECT_STREQ(e.what(), "no preset named 'prbs8'; presets() lists them");
    }
}

}  // namespace
}  // namespace tapwell
