# Ring: tests. m_sequence and generate: the window's register output, scipy's
# max_len_seq under its own convention, the GPS C/A codes of the presets, and
# sizes refused before they are allocated.
import numpy as np
import pytest

import tapwell

scipy_signal = pytest.importorskip("scipy.signal")


def scipy_default_taps(nbits):
    from scipy.signal import _max_len_seq
    return _max_len_seq._mls_taps[nbits]


def scipy_register(nbits, taps, state):
    """scipy's register in ours: s[i+n] = s[i] + sum(s[i+t] for t in taps),
    so the characteristic polynomial is x^n + sum(x^t) + 1, and its state
    array's element i is bit i of our state (the i-th bit put out)."""
    word = (1 << nbits) | 1
    for t in taps:
        word |= 1 << t
    return tapwell.Poly(word), sum(int(b) << i for i, b in enumerate(state))


@pytest.mark.parametrize("nbits", range(3, 25))
def test_agrees_with_scipy_max_len_seq(nbits):
    rng = np.random.default_rng(nbits)
    states = [np.ones(nbits, dtype=np.int8), np.eye(1, nbits, nbits - 1, dtype=np.int8)[0],
              rng.integers(0, 2, nbits).astype(np.int8) | np.eye(1, nbits, 0, dtype=np.int8)[0]]
    for state in states:
        expected, _ = scipy_signal.max_len_seq(nbits, state=state.copy())
        poly, ours = scipy_register(nbits, scipy_default_taps(nbits), state)
        assert poly.is_primitive()
        assert np.array_equal(tapwell.m_sequence(poly, state=ours), expected)


@pytest.mark.parametrize("poly,state,length,expected", [
    ("10011", 1, None, "100010011010111"),
    ("10011", "0001", None, "100010011010111"),
    ("10011", "1000", 8, "00010011"),
    ("x^4 + x^3 + 1", 1, 15, "100011110101100"),
    ("10101", 1, None, "100010"),  # reducible: the order of x, the period from state 1
])
def test_known_outputs(poly, state, length, expected):
    bits = tapwell.m_sequence(poly, length=length, state=state)
    assert bits.dtype == np.uint8 and "".join(map(str, bits)) == expected


def test_bipolar_maps_zero_to_plus_one():
    binary = tapwell.m_sequence("x^7 + x + 1")
    bipolar = tapwell.m_sequence("x^7 + x + 1", output="bipolar")
    assert bipolar.dtype == np.int8 and np.array_equal(bipolar, 1 - 2 * binary.astype(np.int8))


@pytest.mark.parametrize("call,error", [
    (lambda: tapwell.m_sequence("10011", state=0), ValueError),
    (lambda: tapwell.m_sequence("10011", state=16), ValueError),
    (lambda: tapwell.m_sequence("10011", state="0201"), ValueError),
    (lambda: tapwell.m_sequence("10011", output="ternary"), ValueError),
    (lambda: tapwell.m_sequence("10011", state=1.5), TypeError),
    (lambda: tapwell.m_sequence("10011", length=2**62), MemoryError),
    (lambda: tapwell.m_sequence("x^64 + x^4 + x^3 + x + 1"), MemoryError),
    (lambda: tapwell.generate([("10011", 1)], mode="gold"), ValueError),
    (lambda: tapwell.generate([("10011", 1)], mode="diagonal"), ValueError),
    (lambda: tapwell.generate([("10011", 1)], width=33), ValueError),
    (lambda: tapwell.generate(["10011"]), TypeError),
])
def test_refusals(call, error):
    with pytest.raises(error):
        call()


# IS-GPS-200's first ten chips of PRN 1 to 5, in octal.
GPS_FIRST_CHIPS = {1: 0o1440, 2: 0o1620, 3: 0o1710, 4: 0o1744, 5: 0o1133}


@pytest.mark.parametrize("prn,octal", GPS_FIRST_CHIPS.items())
def test_gps_ca_presets_generate_the_codes(prn, octal):
    p = tapwell.preset(f"gps-ca-{prn}")
    chips = tapwell.generate(p.registers, mode=p.mode, count=1023)
    assert chips.dtype == np.uint32 and len(chips) == 1023
    assert int("".join(map(str, chips[:10])), 2) == octal
    # A Gold code is balanced to one chip either way at degree 10.
    assert abs(int(chips.sum()) - 512) <= 65


def test_generate_reads_the_windows_list_text():
    pairs = tapwell.generate([("10011", 1), ("11001", "0011")], mode="gold", width=4, count=8)
    text = tapwell.generate("10011\n0001\n11001\n0011\n", mode="gold", width=4, count=8)
    assert np.array_equal(pairs, text)
    serial = tapwell.generate([("10011", 1)], width=4, count=15)
    bits = tapwell.m_sequence("10011", length=60)
    assert [int("".join(map(str, bits[4 * i:4 * i + 4][::-1])), 2) for i in range(15)] == list(serial)


def test_presets_list_every_standard_once():
    names = [p.name for p in tapwell.presets()]
    assert len(names) == len(set(names)) and "prbs7" in names and "gps-ca-32" in names
    with pytest.raises(ValueError, match="gps-ca-33"):
        tapwell.preset("gps-ca-33")
