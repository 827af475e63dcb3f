// Ring: library. See generation.h.
#include "library/generation.h"

#include <memory>

#include "core/mersenne.h"

namespace tapwell {

namespace {

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

// Register 0 is at least as wide as a word: its degree is not below the width.
bool register0_covers_width(const RegisterBank& bank) {
    return bank.registers[0].top >= (1u << (bank.output_width - 1));
}

struct Blocks {
    std::uint32_t values[GENERATION_BLOCK];
    std::uint32_t state_a[GENERATION_BLOCK];
    std::uint32_t state_b[GENERATION_BLOCK];
};

// The one loop of every mode: `fill(block, k)` writes value k of the block
// and steps the registers, kept in local words by the caller.
template <typename Fill>
RunEnd run_blocks(const GenerationRequest& request, const RunContext& context, GenerationSink& sink, Blocks& blocks,
                  Fill fill) {
    const std::uint32_t count = generation_count(request);
    GeneratedValues block;
    block.values = blocks.values;
    if (request.with_states) {
        block.state_a = blocks.state_a;
        block.state_b = request.mode == GenerationMode::gold ? blocks.state_b : nullptr;
    }
    for (std::uint64_t index = 0; index < count; index += block.count) {
        if (context.stop.stop_requested()) return RunEnd::stopped;
        block.index = index;
        block.count = count - index < GENERATION_BLOCK ? static_cast<std::size_t>(count - index) : GENERATION_BLOCK;
        for (std::size_t k = 0; k < block.count; ++k) fill(blocks, k);
        if (!sink.take(block)) return RunEnd::stopped;
    }
    return RunEnd::complete;
}

}  // namespace

bool generation_valid(const GenerationRequest& request) {
    const RegisterBank& bank = request.bank;
    if (bank.output_width < 1 || bank.output_width > GENERATION_MAX_WIDTH || bank.registers[0].top == 0) return false;
    if (!register0_covers_width(bank)) return false;
    switch (request.mode) {
        case GenerationMode::serial: return true;
        case GenerationMode::parallel:
            for (std::int32_t j = 1; j < bank.output_width; ++j) {
                if (bank.registers[j].top == 0) return false;
            }
            return true;
        case GenerationMode::gold: return bank.registers[1].top != 0;
    }
    return false;
}

std::uint32_t generation_count(const GenerationRequest& request) {
    const RegisterBank& bank = request.bank;
    return bank.output_count != 0 ? bank.output_count : 2u * bank.registers[0].top - 1u;
}

RunEnd generate_values(const GenerationRequest& request, const RunContext& context, GenerationSink& sink) {
    const RegisterBank& bank = request.bank;
    const std::int32_t width = bank.output_width;
    const auto mask = static_cast<std::uint32_t>(mersenne(width));
    const ShiftRegister& ra = bank.registers[0];
    const ShiftRegister& rb = bank.registers[1];
    // 48 KiB of blocks: on the heap, not the caller's stack.
    const auto blocks = std::make_unique<Blocks>();
    switch (request.mode) {
        case GenerationMode::serial: {
            std::uint32_t a = ra.state;
            return run_blocks(request, context, sink, *blocks, [&](Blocks& out, std::size_t k) {
                out.values[k] = a & mask;
                out.state_a[k] = a;
                a = register_steps(a, ra.taps, ra.top, width);
            });
        }
        case GenerationMode::parallel: {
            SlicedRegisters sliced(bank, width);
            // Bit j of stage 0 is register j's output.
            return run_blocks(request, context, sink, *blocks, [&](Blocks& out, std::size_t k) {
                out.values[k] = sliced.stage[0];
                sliced.step();
            });
        }
        case GenerationMode::gold: {
            std::uint32_t a = ra.state, b = rb.state;
            return run_blocks(request, context, sink, *blocks, [&](Blocks& out, std::size_t k) {
                out.values[k] = (a ^ b) & mask;
                out.state_a[k] = a;
                out.state_b[k] = b;
                a = register_steps(a, ra.taps, ra.top, width);
                b = register_steps(b, rb.taps, rb.top, width);
            });
        }
    }
    return RunEnd::complete;
}

}  // namespace tapwell
