// Ring: examples. A program that uses the installed library: the ITU-T O.150
// PRBS15 register, its M-sequence, and its correlation over all phases with
// another M-sequence of degree 15.
#include <tapwell/tapwell.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

int main() {
    try {
        // O.150 names the stages that feed back, the connection polynomial
        // x^15 + x^14 + 1; the library's polynomial is that of the register's
        // output, its reciprocal, as the prbs15 preset holds it.
        const tapwell::Polynomial connection =
            tapwell::Polynomial::parse("x^15 + x^14 + 1", tapwell::Notation::algebraic);
        const tapwell::Polynomial prbs15 = connection.reciprocal();
        std::printf("tapwell %s\n", std::string(tapwell::version()).c_str());
        std::printf("PRBS15: %s (%s), primitive: %s, period %llu, the preset's: %s\n",
                    prbs15.format(tapwell::Notation::algebraic).c_str(), prbs15.format().c_str(),
                    prbs15.is_primitive() ? "yes" : "no", static_cast<unsigned long long>(prbs15.order()),
                    tapwell::preset("prbs15").registers[0].polynomial == prbs15 ? "yes" : "no");

        // O.150 starts the register from all ones.
        const std::vector<std::uint8_t> first = tapwell::register_bits({prbs15, 0x7FFF}, 32);
        std::printf("first 32 bits: ");
        for (std::uint8_t bit : first) std::putchar('0' + bit);
        const std::vector<std::uint8_t> m = tapwell::m_sequence(prbs15);
        std::printf("\nones in a period of %zu bits: %zu\n", m.size(),
                    static_cast<std::size_t>(std::count(m.begin(), m.end(), 1)));

        // Every phase of the correlation with another M-sequence at once.
        const tapwell::Polynomial other = tapwell::Polynomial::parse("x^15 + x^4 + 1", tapwell::Notation::algebraic);
        const std::vector<std::int64_t> r = tapwell::correlate_all_phases(prbs15, other);
        const auto [low, high] = std::minmax_element(r.begin(), r.end());
        const tapwell::PreferredValues three = tapwell::preferred_values(15);
        const bool preferred = std::all_of(r.begin(), r.end(), [&](std::int64_t v) { return three.contains(v); });
        std::printf("against %s over %zu phases: r from %lld to %lld, a preferred pair: %s\n",
                    other.format(tapwell::Notation::algebraic).c_str(), r.size(), static_cast<long long>(*low),
                    static_cast<long long>(*high), preferred ? "yes" : "no");

        // The worst case of the Gold family of a preferred pair of degree 5.
        const tapwell::FamilyReport report = tapwell::family_correlation(
            std::span<const std::uint8_t>(tapwell::gold_family({tapwell::Polynomial::parse("100101"),
                                                                tapwell::Polynomial::parse("101111")})),
            31);
        std::printf("Gold family of degree 5: %zu codes, peak cross-correlation %llu\n", report.codes,
                    static_cast<unsigned long long>(report.periodic.cross.magnitude));
    } catch (const tapwell::Error& e) {
        std::fprintf(stderr, "tapwell: %s\n", e.what());
        return 1;
    }
    return 0;
}
