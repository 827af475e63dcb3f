#!/usr/bin/python3
# Ring: tests (hdl). The size of a synthesized module from Yosys's JSON
# netlist: all cells, the two-input XORs ($_XOR_ and $_XNOR_ cells) and the
# logic depth in XORs: the most XOR cells on any path from a flip-flop or an
# input to a flip-flop or an output (other gates on the way count 0).
#
#   netlist_size.py NETLIST.json  ->  "cells XORS DEPTH"
import json
import sys
from functools import lru_cache

XOR = {"$_XOR_", "$_XNOR_"}
OUTPUT_PORTS = {"Y"}


def main():
    netlist = json.load(open(sys.argv[1]))
    module = next(iter(netlist["modules"].values()))
    cells = module["cells"]
    driver = {}  # bit -> the combinational cell driving it
    for name, cell in cells.items():
        if not cell["type"].startswith("$_") or "DFF" in cell["type"]:
            continue
        for port, bits in cell["connections"].items():
            if cell["port_directions"][port] == "output":
                for b in bits:
                    driver[b] = name
    sys.setrecursionlimit(1000000)

    @lru_cache(maxsize=None)
    def depth(bit):
        cell_name = driver.get(bit)
        if cell_name is None:
            return 0
        cell = cells[cell_name]
        inputs = [b for port, bits in cell["connections"].items()
                  if cell["port_directions"][port] == "input" for b in bits if isinstance(b, int)]
        return max((depth(b) for b in inputs), default=0) + (1 if cell["type"] in XOR else 0)

    xors = sum(1 for c in cells.values() if c["type"] in XOR)
    deepest = max((depth(b) for b in driver), default=0)
    print(len(cells), xors, deepest)


main()
