# Ring: tests. tapwell.Register and tapwell.sequence against a register
# stepped a bit at a time here, a jump by squaring the clock's matrix, numpy's
# packbits, and tapwell-cli sequence --json.
import json
import os
import pickle
import subprocess

import numpy as np
import pytest

import tapwell

DEG64 = "x^64 + x^4 + x^3 + x + 1"
REGISTERS = [
    ("11", 1, "fibonacci"),  # one stage
    ("10011", 1, "fibonacci"),
    ("10011", 0b1011, "galois"),
    ("10101", 0b0110, "fibonacci"),  # reducible: no M-sequence, still a register
    ("x^12 + x^6 + x^4 + x + 1", 0x801, "galois"),
    ("x^31 + x^3 + 1", 0x12345, "fibonacci"),
    ("x^58 + x^39 + 1", 0x155555555555555, "galois"),
    (DEG64, 0xFEDCBA9876543210, "fibonacci"),
    (DEG64, 2**64 - 1, "galois"),
]


def clock(reg):
    """One clock of the register as its conventions say: (bit out, next state)."""
    n = reg.poly.degree
    taps = int(reg.poly) & ((1 << n) - 1)
    if reg.form == "fibonacci":
        return lambda s: (s & 1, s >> 1 | (bin(s & taps).count("1") & 1) << (n - 1))
    mask = int(format(taps, f"0{n}b")[::-1], 2)
    return lambda s: (s & 1, s >> 1 ^ (mask if s & 1 else 0))


def jump_state(reg, steps):
    """The state `steps` clocks on: the clock is linear, so its matrix is squared."""
    step = clock(reg)
    columns = [step(1 << i)[1] for i in range(reg.poly.degree)]

    def apply(cols, v):
        out = 0
        for i, c in enumerate(cols):
            if v >> i & 1:
                out ^= c
        return out

    state = reg.state
    while steps:
        if steps & 1:
            state = apply(columns, state)
        columns = [apply(columns, c) for c in columns]
        steps >>= 1
    return state


def reference_bits(reg, length, skip=0):
    step, state, out = clock(reg), jump_state(reg, skip), []
    for _ in range(length):
        bit, state = step(state)
        out.append(bit)
    return np.array(out, dtype=np.uint8)


def make(poly, state, form):
    return tapwell.Register(poly, state=state, form=form, notation="algebraic" if "x" in poly else None)


@pytest.mark.parametrize("args", REGISTERS)
@pytest.mark.parametrize("skip", [0, 1, 77, 10**12])
def test_sequence_is_the_register_bit_by_bit(args, skip):
    reg = make(*args)
    assert np.array_equal(tapwell.sequence(reg, length=203, skip=skip), reference_bits(reg, 203, skip))


@pytest.mark.parametrize("args", REGISTERS)
def test_forms_and_jumps_keep_the_output(args):
    reg = make(*args)
    other = "galois" if reg.form == "fibonacci" else "fibonacci"
    assert reg.in_form(reg.form) == reg and reg.in_form(other).form == other
    assert reg.in_form(other).in_form(reg.form) == reg
    assert np.array_equal(tapwell.sequence(reg.in_form(other), length=150), reference_bits(reg, 150))
    jumped = reg.jumped(10**12 + 3)
    assert jumped.form == reg.form and jumped.state == jump_state(reg, 10**12 + 3)
    assert pickle.loads(pickle.dumps(reg)) == reg and hash(make(*args)) == hash(reg)


@pytest.mark.parametrize("length", [0, 1, 7, 8, 9, 1000, 2**16 * 8 + 13])
def test_formats_are_the_same_bits(length):
    reg = make(DEG64, 5, "galois")
    bits = tapwell.sequence(reg, length=length, skip=99)
    assert bits.dtype == np.uint8 and len(bits) == length and set(np.unique(bits)) <= {0, 1}
    for order, name in (("msb", "big"), ("lsb", "little")):
        packed = tapwell.sequence(reg, length=length, skip=99, format="packed", bit_order=order)
        assert packed.dtype == np.uint8 and np.array_equal(packed, np.packbits(bits, bitorder=name))
    bipolar = tapwell.sequence(reg, length=length, skip=99, format="bipolar")
    assert bipolar.dtype == np.int8 and np.array_equal(bipolar, 1 - 2 * bits.astype(np.int8))


def test_pieces_and_chip_two_to_the_64_leave_no_seam():
    # Period 31 from just below chip 2^64, past the first piece of the bits
    # (8 Mbit) and of the packed bytes (64 Mbit): the chip after 2^64 - 1 is
    # the next of the period.
    reg = make("100101", 3, "fibonacci")
    skip, length = 2**64 - 3, (8 << 23) + 64
    expected = np.tile(np.roll(tapwell.sequence(reg), -(skip % 31)), length // 31 + 1)[:length]
    assert np.array_equal(tapwell.sequence(reg, length=(8 << 20) + 64, skip=skip), expected[:(8 << 20) + 64])
    assert np.array_equal(tapwell.sequence(reg, length=length, skip=skip, format="packed"), np.packbits(expected))


def test_gold_sum_and_inverted_preset():
    u, v = make("100101", 1, "fibonacci"), make("111101", 0b10110, "galois")
    assert np.array_equal(tapwell.sequence([u, v], length=70, skip=4),
                          reference_bits(u, 70, 4) ^ reference_bits(v, 70, 4))
    p = tapwell.preset("prbs15")
    (reg,) = p.register_objects
    assert p.inverted and np.array_equal(tapwell.sequence(p, length=99), 1 - reference_bits(reg, 99))


def test_default_length_is_one_period_or_the_code():
    assert len(tapwell.sequence(make("10011", 1, "galois"))) == 15
    assert len(tapwell.sequence([make("10011", 1, "fibonacci"), make("1011", 1, "fibonacci")])) == 105
    assert len(tapwell.sequence(tapwell.preset("beidou-b1i-3"))) == 2046
    with pytest.raises(ValueError, match="too long to write whole"):
        tapwell.sequence(make(DEG64, 1, "fibonacci"))
    with pytest.raises(ValueError, match="too long to write whole"):
        tapwell.sequence(tapwell.preset("scrambler-64b66b"))


@pytest.mark.parametrize("call,error", [
    (lambda: tapwell.Register("10011", state=0), ValueError),
    (lambda: tapwell.Register("10011", state=16), ValueError),
    (lambda: tapwell.Register("10011", form="diagonal"), ValueError),
    (lambda: tapwell.Register("10011", state=1.0), TypeError),
    (lambda: tapwell.sequence(tapwell.Register("10011"), format="hex"), ValueError),
    (lambda: tapwell.sequence(tapwell.Register("10011"), bit_order="middle"), ValueError),
    (lambda: tapwell.sequence([]), ValueError),
    (lambda: tapwell.sequence([("10011", 1)]), TypeError),
    (lambda: tapwell.sequence(tapwell.Register("10011"), length=2**62), MemoryError),
    (lambda: tapwell.sequence([tapwell.Register(DEG64), tapwell.Register("x^63 + x + 1", notation="algebraic")],
                              length=10, skip=2**64 - 5), ValueError),
])
def test_refusals(call, error):
    with pytest.raises(error):
        call()


def cli_data(args):
    cli = os.environ.get("TAPWELL_CLI")
    if not cli:
        pytest.skip("TAPWELL_CLI names no tapwell-cli to compare with")
    return json.loads(subprocess.run([cli, "sequence", "--json"] + args, capture_output=True, check=True,
                                     text=True).stdout)["data"]


CONSOLE_CASES = [
    (lambda: make(DEG64, 0xFEDCBA9876543210, "galois"), 10**12, 300),
    (lambda: [make("10000001001", 1, "fibonacci"), make("10001101111", 0x3F, "fibonacci")], 1000, 200),
    (lambda: tapwell.preset("prbs23"), 17, 100),
    (lambda: tapwell.preset("wifi-scrambler", 0x5D), 0, 127),
]


@pytest.mark.parametrize("source,skip,length", CONSOLE_CASES)
def test_agrees_with_the_console(source, skip, length):
    src = source()
    if isinstance(src, tapwell.Preset):
        args = ["--preset", src.name] + ([f"--{src.parameter}", str(src.parameter_value)] if src.parameter else [])
    else:
        regs = src if isinstance(src, list) else [src]
        args = [a for r in regs for a in ("--poly", r.poly.to("binary"))] + \
            [a for r in regs for a in ("--state", hex(r.state))] + ["--form", regs[0].form]
    args += ["--skip", str(skip), "--length", str(length)]
    bits = tapwell.sequence(src, length=length, skip=skip)
    assert "".join(map(str, bits)) == cli_data(args)
    for order in ("msb", "lsb"):
        packed = tapwell.sequence(src, length=length, skip=skip, format="packed", bit_order=order)
        assert packed.tobytes().hex() == cli_data(args + ["--format", "packed", "--bit-order", order])
    assert tapwell.sequence(src, length=length, skip=skip, format="bipolar").tolist() == \
        cli_data(args + ["--format", "bipolar"])
