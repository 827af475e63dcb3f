// tapwell: the output of shift registers, as the window generates it.
//
// A register is its polynomial (the characteristic polynomial of its output,
// the window's text) and its initial state: bit 0 of the state is the stage
// that is output first, bit n - 1 the stage the feedback enters (the window's
// initial value "0001" of a degree-4 register is state 1, read as written,
// bit n - 1 first).
//
// The same polynomial also defines a register in Galois form: bit 0 of the
// state is output and leaves; when it was 1 the mask (the polynomial's
// coefficients below x^n, reversed in n bits: bit n - 1 is the constant term)
// is added to the state shifted one place towards bit 0. Both forms put out
// sequences of the same recurrence; from the same state they are in general
// different phases of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "tapwell/export.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/run_options.hpp"

namespace tapwell {

enum class RegisterForm : int { fibonacci = 0, galois = 1 };

struct Register {
    Polynomial polynomial;
    std::uint64_t state = 1;  // non-zero, below 2^degree
    RegisterForm form = RegisterForm::fibonacci;
};

// The first bits of a register's output, one byte (0 or 1) a bit, degree 1
// to 64. Throws InvalidArgument for a state of 0 or of more than n bits.
TAPWELL_API void register_bits(const Register& reg, std::span<std::uint8_t> bits);
TAPWELL_API std::vector<std::uint8_t> register_bits(const Register& reg, std::size_t count);
// The same, asking the options' stop token every 2^20 bits (throws Stopped,
// the bits before left filled): for outputs long enough to be interrupted.
TAPWELL_API void register_bits(const Register& reg, std::span<std::uint8_t> bits, const RunOptions& options);
// One period of an M-sequence: 2^n - 1 bits from state 1 (degree 1 to 32).
// Throws InvalidArgument for another degree or a polynomial that is not
// primitive.
TAPWELL_API std::vector<std::uint8_t> m_sequence(Polynomial polynomial);

// The window's three generation modes.
enum class GenerationMode : int {
    serial = 0,    // one register, `width` bits of its output a value
    parallel = 1,  // registers 0 .. width - 1, one bit of the value each
    gold = 2,      // registers 0 and 1, `width` bits of the sum of their outputs
};
// The window's widths and register counts (its degrees: polynomial.hpp).
inline constexpr int GENERATION_MAX_WIDTH = 32;
inline constexpr int GENERATION_MAX_REGISTERS = 32;

struct Generation {
    GenerationMode mode = GenerationMode::serial;
    int width = 1;  // 1 to 32; not above register 0's degree (serial, Gold)
    // Values; 0 for 2^n - 1, n the degree of register 0.
    std::uint64_t count = 0;
    // serial: 1 register; parallel: `width`; Gold: 2. Degrees 1 to 32, in
    // Fibonacci form.
    std::vector<Register> registers;
};

// One value of a generation: bit 0 is the earliest bit (serial, Gold: the
// register's output after as many steps as the value's position times the
// width; parallel: register 0's output).
// Fills `values` with the generation's first values.size() values, as the
// window logs them. Throws InvalidArgument for parameters the window refuses.
TAPWELL_API void generate(const Generation& generation, std::span<std::uint32_t> values,
                          const RunOptions& options = {});
// The generation's values, `count` of them.
TAPWELL_API std::vector<std::uint32_t> generate(const Generation& generation, const RunOptions& options = {});

}  // namespace tapwell
