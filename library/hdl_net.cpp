// Ring: library. The two styles of a register's net. Flat comes straight from
// core's step matrix. Chained is the register unrolled W times symbolically,
// each new stage one XOR, with every signal's mask over the present state
// remembered: an XOR whose mask some signal already has is that signal. It
// therefore has at most the unrolled register's gates (weight - 2 a step),
// and where the taps only ever meet bits still in the register (a trinomial
// for W up to n - k) every XOR takes two present stages, depth 1.
#include "library/hdl_net.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "core/shift_register.h"
#include "core/step_matrix.h"
#include "library/poly_conversion.h"

namespace tapwell {

namespace {

std::uint64_t taps_of_register(const Register& reg) {
    const PolyWord p = word_of(reg.polynomial);
    return taps_of64(p.value, top_of(p));
}

// A signal for a mask of stages: the stage itself for one bit, else a node.
int flat_signal(XorNet& net, std::uint64_t mask, int offset) {
    if (std::popcount(mask) == 1) return offset + std::countr_zero(mask);
    std::vector<int> operands;
    for (; mask != 0; mask &= mask - 1) operands.push_back(offset + std::countr_zero(mask));
    net.nodes.push_back(std::move(operands));
    return net.inputs + static_cast<int>(net.nodes.size()) - 1;
}

class ChainBuilder {
public:
    ChainBuilder(XorNet& net, int n) : net_(net) {
        for (int i = 0; i < n; ++i) add_known(std::uint64_t{1} << i, i);
    }
    int combine(int a, int b) {
        const std::uint64_t m = masks_[static_cast<std::size_t>(a)] ^ masks_[static_cast<std::size_t>(b)];
        if (auto it = by_mask_.find(m); it != by_mask_.end()) return it->second;
        net_.nodes.push_back({a, b});
        const int s = net_.inputs + static_cast<int>(net_.nodes.size()) - 1;
        add_known(m, s);
        return s;
    }
    // The XOR of several signals as a balanced tree, for the least depth.
    int combine_all(std::vector<int> signals) {
        while (signals.size() > 1) {
            std::vector<int> level;
            for (std::size_t i = 0; i + 1 < signals.size(); i += 2) level.push_back(combine(signals[i], signals[i + 1]));
            if (signals.size() % 2 != 0) level.push_back(signals.back());
            signals = std::move(level);
        }
        return signals.front();
    }

private:
    void add_known(std::uint64_t m, int s) {
        if (masks_.size() <= static_cast<std::size_t>(s)) masks_.resize(static_cast<std::size_t>(s) + 1);
        masks_[static_cast<std::size_t>(s)] = m;
        by_mask_.emplace(m, s);
    }
    XorNet& net_;
    std::vector<std::uint64_t> masks_;
    std::unordered_map<std::uint64_t, int> by_mask_;
};

XorNet chained_net(const Register& reg, int width) {
    const int n = reg.polynomial.degree();
    const std::uint64_t taps = taps_of_register(reg);
    const std::uint64_t galois = galois_mask_of(taps, n);
    XorNet net;
    net.inputs = n;
    ChainBuilder chain(net, n);
    std::vector<int> stage(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) stage[static_cast<std::size_t>(i)] = i;
    for (int t = 0; t < width; ++t) {
        const int out = stage[0];
        net.output.push_back(out);
        std::vector<int> shifted(stage.begin() + 1, stage.end());
        if (reg.form == RegisterForm::galois) {
            for (int i = 0; i + 1 < n; ++i) {
                if (galois >> i & 1u) shifted[static_cast<std::size_t>(i)] = chain.combine(shifted[static_cast<std::size_t>(i)], out);
            }
            shifted.push_back(out);  // the constant term: bit n - 1 of the mask
        } else {
            std::vector<int> tapped;
            for (int k = 0; k < n; ++k) {
                if (taps >> k & 1u) tapped.push_back(stage[static_cast<std::size_t>(k)]);
            }
            shifted.push_back(chain.combine_all(std::move(tapped)));
        }
        stage = std::move(shifted);
    }
    net.next = stage;
    return net;
}

XorNet flat_net(const Register& reg, int width) {
    const int n = reg.polynomial.degree();
    const StepMatrix m = step_matrix(taps_of_register(reg), n, reg.form, width);
    XorNet net;
    net.inputs = n;
    for (std::uint64_t mask : m.output) net.output.push_back(flat_signal(net, mask, 0));
    for (std::uint64_t mask : m.next) net.next.push_back(flat_signal(net, mask, 0));
    return net;
}

// The signal of `net`'s signal s once its inputs start at `offset` and its
// nodes at `node_base` in a larger net.
int moved(int s, int inputs, int offset, int node_base) { return s < inputs ? s + offset : s - inputs + node_base; }

// Drops the nodes nothing reads (a Gold code's flat outputs fold their
// registers' output nodes into the sum) and numbers the rest in order.
void drop_unread(XorNet& net) {
    std::vector<char> read(static_cast<std::size_t>(net.inputs) + net.nodes.size(), 0);
    for (int s : net.output) read[static_cast<std::size_t>(s)] = 1;
    for (int s : net.next) read[static_cast<std::size_t>(s)] = 1;
    for (std::size_t k = net.nodes.size(); k-- > 0;) {
        if (!read[static_cast<std::size_t>(net.inputs) + k]) continue;
        for (int s : net.nodes[k]) read[static_cast<std::size_t>(s)] = 1;
    }
    std::vector<int> renamed(read.size());
    for (int i = 0; i < net.inputs; ++i) renamed[static_cast<std::size_t>(i)] = i;
    std::vector<std::vector<int>> kept;
    for (std::size_t k = 0; k < net.nodes.size(); ++k) {
        if (!read[static_cast<std::size_t>(net.inputs) + k]) continue;
        for (int& s : net.nodes[k]) s = renamed[static_cast<std::size_t>(s)];
        renamed[static_cast<std::size_t>(net.inputs) + k] = net.inputs + static_cast<int>(kept.size());
        kept.push_back(std::move(net.nodes[k]));
    }
    net.nodes = std::move(kept);
    for (int& s : net.output) s = renamed[static_cast<std::size_t>(s)];
    for (int& s : net.next) s = renamed[static_cast<std::size_t>(s)];
}

}  // namespace

XorNet register_net(const Register& reg, int width, HdlStyle style) {
    return style == HdlStyle::chained ? chained_net(reg, width) : flat_net(reg, width);
}

XorNet summed_net(const std::vector<Register>& registers, int width, HdlStyle style) {
    std::vector<XorNet> parts;
    XorNet sum;
    for (const Register& reg : registers) {
        parts.push_back(register_net(reg, width, style));
        sum.inputs += parts.back().inputs;
    }
    if (parts.size() == 1) return parts.front();
    // Node signals are numbered after all the inputs; each part's nodes follow
    // the ones before it.
    std::vector<std::vector<int>> outputs;
    int offset = 0;
    for (const XorNet& part : parts) {
        const int base = sum.inputs + static_cast<int>(sum.nodes.size());
        for (const std::vector<int>& node : part.nodes) {
            std::vector<int> operands;
            for (int s : node) operands.push_back(moved(s, part.inputs, offset, base));
            sum.nodes.push_back(std::move(operands));
        }
        std::vector<int> out;
        for (int s : part.output) out.push_back(moved(s, part.inputs, offset, base));
        outputs.push_back(std::move(out));
        for (int s : part.next) sum.next.push_back(moved(s, part.inputs, offset, base));
        offset += part.inputs;
    }
    for (int t = 0; t < width; ++t) {
        // Flat keeps one level: the sum of two one-level XORs is one XOR of
        // all their stages.
        std::vector<int> operands;
        for (const std::vector<int>& out : outputs) {
            const int s = out[static_cast<std::size_t>(t)];
            if (style == HdlStyle::flat && s >= sum.inputs) {
                const std::vector<int>& node = sum.nodes[static_cast<std::size_t>(s - sum.inputs)];
                operands.insert(operands.end(), node.begin(), node.end());
            } else {
                operands.push_back(s);
            }
        }
        sum.nodes.push_back(std::move(operands));
        sum.output.push_back(sum.inputs + static_cast<int>(sum.nodes.size()) - 1);
    }
    drop_unread(sum);
    return sum;
}

XorNet reload_net(const Register& reg) {
    const int n = reg.polynomial.degree();
    const StepMatrix m = step_matrix(taps_of_register(reg), n, RegisterForm::fibonacci, n);
    XorNet net;
    net.inputs = n;
    for (std::uint64_t mask : m.next) net.next.push_back(flat_signal(net, mask, 0));
    return net;
}

HdlSize net_size(const XorNet& net) {
    HdlSize size;
    std::vector<int> depth(static_cast<std::size_t>(net.inputs) + net.nodes.size(), 0);
    for (std::size_t k = 0; k < net.nodes.size(); ++k) {
        const std::vector<int>& node = net.nodes[k];
        int deepest = 0;
        for (int s : node) deepest = std::max(deepest, depth[static_cast<std::size_t>(s)]);
        const int levels = std::bit_width(node.size() - 1);  // ceil(log2 k)
        depth[static_cast<std::size_t>(net.inputs) + k] = deepest + levels;
        size.xors += node.size() - 1;
    }
    for (int s : net.output) size.depth = std::max(size.depth, depth[static_cast<std::size_t>(s)]);
    for (int s : net.next) size.depth = std::max(size.depth, depth[static_cast<std::size_t>(s)]);
    return size;
}

}  // namespace tapwell
