#!/usr/bin/python3
# Ring: tests (hdl). The straightforward register as a reference for size:
# the one-bit step written once and repeated W times in a loop that the
# synthesizer unrolls, with the generator's ports. Its own reading of the
# step rule, so that it shares nothing with the library's nets.
#
#   unrolled.py NAME W POLY:FORM [POLY:FORM] > NAME.v
#
# POLY in the window's notation, FORM fibonacci or galois; with two, the
# outputs are added (a Gold code) and seed_in holds the first below the second.
import sys


def register(index, poly, form, width):
    """The declarations and the unrolled loop of one register."""
    n = len(poly) - 1
    # The coefficient of x^k is poly[n - k]; the taps are x^0 .. x^(n-1).
    taps = sum(1 << k for k in range(n) if poly[n - k] == "1")
    # Galois: the taps reversed in n bits (bit n - 1 is the constant term).
    mask = sum(1 << (n - 1 - k) for k in range(n) if taps >> k & 1)
    s = f"s{index}"
    if form == "galois":
        step = f"{s} = {{1'b0, {s}[{n - 1}:1]}} ^ ({s}[0] ? {n}'h{mask:x} : {n}'h0);"
    else:
        step = f"{s} = {{^({s} & {n}'h{taps:x}), {s}[{n - 1}:1]}};"
    return n, f"""    reg [{n - 1}:0] state{index};
    reg [{n - 1}:0] {s};
    reg [{width - 1}:0] out{index};
    integer t{index};
    always @* begin
        {s} = state{index};
        for (t{index} = 0; t{index} < {width}; t{index} = t{index} + 1) begin
            out{index}[t{index}] = {s}[0];
            {step}
        end
    end
"""


def main():
    name, width = sys.argv[1], int(sys.argv[2])
    parts = [register(i, *arg.split(":"), width) for i, arg in enumerate(sys.argv[3:])]
    bits = sum(n for n, _ in parts)
    body = "".join(text for _, text in parts)
    low = 0
    updates = ""
    for i, (n, _) in enumerate(parts):
        updates += f"""        if (rst) state{i} <= {n}'h1;
        else if (load) state{i} <= seed_in[{low + n - 1}:{low}];
        else if (en) state{i} <= s{i};
"""
        low += n
    total = " ^ ".join(f"out{i}" for i in range(len(parts)))
    print(f"""module {name} (
    input  wire clk,
    input  wire rst,
    input  wire en,
    input  wire load,
    input  wire [{bits - 1}:0] seed_in,
    output wire [{width - 1}:0] data_out
);
{body}    assign data_out = {total};
    always @(posedge clk) begin
{updates}    end
endmodule""")


main()
