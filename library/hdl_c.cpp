// Ring: library. The C99 writer: the same map of W steps as tables of masks
// (one per bit put out and per next stage, each register's over its own
// stages) and a step that takes their parities. Firmware and host-side checks
// want it small and obvious rather than unrolled.
#include <algorithm>
#include <cstdio>
#include <string>

#include "library/hdl_writer.h"

namespace tapwell {

namespace {

std::string num(long long v) { return std::to_string(v); }

std::string hex64(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%016llxu", static_cast<unsigned long long>(v));
    return text;
}

// The stages of the present state whose XOR each signal of a net is.
std::vector<std::uint64_t> signal_masks(const XorNet& net) {
    std::vector<std::uint64_t> masks(static_cast<std::size_t>(net.inputs) + net.nodes.size(), 0);
    for (int i = 0; i < net.inputs; ++i) masks[static_cast<std::size_t>(i)] = std::uint64_t{1} << i;
    for (std::size_t k = 0; k < net.nodes.size(); ++k) {
        std::uint64_t m = 0;
        for (int s : net.nodes[k]) m ^= masks[static_cast<std::size_t>(s)];
        masks[static_cast<std::size_t>(net.inputs) + k] = m;
    }
    return masks;
}

}  // namespace

std::string c_text(const HdlDesign& d) {
    const HdlRequest& r = d.request;
    const std::string& p = r.name;
    const std::size_t k = r.registers.size();
    const std::string kk = num(static_cast<long long>(k));
    const std::string w = num(r.width);
    const std::string bytes = num((r.width + 7) / 8);
    std::vector<std::vector<std::uint64_t>> out(static_cast<std::size_t>(r.width)), next(k);
    int most = 0;
    for (std::size_t i = 0; i < k; ++i) {
        const XorNet net = register_net(r.registers[i], r.width, HdlStyle::flat);
        const std::vector<std::uint64_t> masks = signal_masks(net);
        for (int t = 0; t < r.width; ++t) out[static_cast<std::size_t>(t)].push_back(masks[static_cast<std::size_t>(net.output[static_cast<std::size_t>(t)])]);
        for (int s : net.next) next[i].push_back(masks[static_cast<std::size_t>(s)]);
        most = std::max(most, net.inputs);
    }
    std::string v = comment_lines(d, " *");
    v = "/*\n" + v + " * C99: " + p + "_step writes the W bits of the present state into a buffer of " + bytes +
        " bytes\n * (position q in byte q / 8, bit q % 8) and steps W times.\n */\n";
    v += "#include <stdint.h>\n#include <string.h>\n\n";
    v += "typedef struct {\n    uint64_t stage[" + kk + "]; /* register r's state: bit 0 the stage put out first */\n} " + p + "_state;\n\n";
    v += "static const int " + p + "_degree[" + kk + "] = {";
    for (std::size_t i = 0; i < k; ++i) v += (i ? ", " : "") + num(r.registers[i].polynomial.degree());
    v += "};\nstatic const uint64_t " + p + "_seed[" + kk + "] = {";
    for (std::size_t i = 0; i < k; ++i) v += (i ? ", " : "") + hex64(r.registers[i].state);
    v += "};\n/* The stages of each register whose XOR is the t-th bit put out. */\n";
    v += "static const uint64_t " + p + "_output[" + w + "][" + kk + "] = {\n";
    for (int t = 0; t < r.width; ++t) {
        v += "    {";
        for (std::size_t i = 0; i < k; ++i) v += (i ? ", " : "") + hex64(out[static_cast<std::size_t>(t)][i]);
        v += t + 1 < r.width ? "},\n" : "}\n";
    }
    v += "};\n/* The stages whose XOR is stage i after W steps. */\n";
    v += "static const uint64_t " + p + "_next[" + kk + "][" + num(most) + "] = {\n";
    for (std::size_t i = 0; i < k; ++i) {
        v += "    {";
        for (std::size_t j = 0; j < next[i].size(); ++j) v += (j ? ", " : "") + hex64(next[i][j]);
        v += i + 1 < k ? "},\n" : "}\n";
    }
    v += "};\n\n";
    v += "static unsigned " + p + "_parity(uint64_t v)\n{\n";
    v += "    v ^= v >> 32;\n    v ^= v >> 16;\n    v ^= v >> 8;\n    v ^= v >> 4;\n    v ^= v >> 2;\n    v ^= v >> 1;\n";
    v += "    return (unsigned)(v & 1u);\n}\n\n";
    v += "/* Back to the seed. */\nvoid " + p + "_init(" + p + "_state *s)\n{\n";
    v += "    memcpy(s->stage, " + p + "_seed, sizeof s->stage);\n}\n\n";
    v += "/* A state of one's own: seed[r] for register r, none of them 0. */\nvoid " + p + "_load(" + p +
         "_state *s, const uint64_t seed[" + kk + "])\n{\n    memcpy(s->stage, seed, sizeof s->stage);\n}\n\n";
    v += "void " + p + "_step(" + p + "_state *s, unsigned char out[" + bytes + "])\n{\n";
    v += "    uint64_t next[" + kk + "];\n    int t, r, i;\n    memset(out, 0, " + bytes + ");\n";
    v += "    for (t = 0; t < " + w + "; ++t) {\n        unsigned bit = " + (r.inverted ? "1u" : "0u") + ";\n";
    v += "        int q = " + (r.bit_order == HdlBitOrder::first_at_msb ? num(r.width - 1) + " - t" : std::string("t")) + ";\n";
    v += "        for (r = 0; r < " + kk + "; ++r) bit ^= " + p + "_parity(s->stage[r] & " + p + "_output[t][r]);\n";
    v += "        out[q / 8] |= (unsigned char)(bit << (q % 8));\n    }\n";
    v += "    for (r = 0; r < " + kk + "; ++r) {\n        next[r] = 0;\n";
    v += "        for (i = 0; i < " + p + "_degree[r]; ++i) next[r] |= (uint64_t)" + p + "_parity(s->stage[r] & " + p +
         "_next[r][i]) << i;\n    }\n";
    v += "    memcpy(s->stage, next, sizeof next);\n}\n";
    return v;
}

}  // namespace tapwell
