# Ring: tests. The standards' presets against the bits their documents
# print and tapwell-cli presets --json; scramble and Scrambler by their round
# trips, their pieces, the self-synchronous descrambler's recovery and
# tapwell-cli scramble; sparsest_primitive against tapwell-cli primitive --min.
import json
import os
import subprocess

import numpy as np
import pytest

import tapwell


def console(*args, data=None):
    cli = os.environ.get("TAPWELL_CLI")
    if not cli:
        pytest.skip("TAPWELL_CLI names no tapwell-cli to compare with")
    return subprocess.run([cli, *args], input=data, capture_output=True, check=True).stdout


def text(bits):
    return "".join(map(str, bits))


# The first bits each document prints for its register.
PRINTED = [
    ("ccsds-tm-255", None, "1111111101001000000011101100000010011010"),
    ("ccsds-tm-131071", None, "0001110001110001101110010001101110101001"),
    ("wifi-scrambler", 0x5D,  # 802.11's Table G.15
     "01101100000110011010100111001111011010000101010111110100101000110111000111111100001110111100101100100"
     "10000001000100110001011101"),
]


@pytest.mark.parametrize("name,value,printed", PRINTED)
def test_bits_the_documents_print(name, value, printed):
    p = tapwell.preset(name, value)
    assert text(p.bits(len(printed))) == printed
    assert text(tapwell.sequence(p, length=len(printed))) == printed
    if value is not None:
        assert p.parameter_value == value and repr(p) == f"Preset('{name}', {p.parameter}={value})"


STANDARD = [p.name for p in tapwell.presets() if p.standard]


@pytest.mark.parametrize("name", STANDARD)
def test_presets_give_what_the_console_shows(name):
    p = tapwell.preset(name)
    facts = json.loads(console("presets", name, "--json"))
    assert (p.standard, p.section, p.written, p.kind, p.form) == \
        (facts["standard"], facts["section"], facts["written"], facts["kind"], facts["form"])
    assert text(p.bits(32)) == facts["first_bits"]
    assert p.code_length == facts.get("code_length", 0)
    assert [r.poly.to("binary") for r in p.register_objects][:1] == [facts["polynomial"]]
    assert [(r.poly, r.state) for r in p.register_objects] == p.registers
    if p.parameter is None:
        assert "parameter" not in facts and p.parameter_range is None and p.parameter_value is None
    else:
        assert facts["parameter"] == "--" + p.parameter and facts["parameter_value"] == p.parameter_value
        assert facts["parameter_range"] == "{}..{}".format(*p.parameter_range)


@pytest.mark.parametrize("name", [p.name for p in tapwell.presets()])
def test_every_presets_stream_is_the_consoles(name):
    data = json.loads(console("sequence", "--preset", name, "--skip", "1000", "--length", "100", "--json"))["data"]
    assert text(tapwell.sequence(tapwell.preset(name), length=100, skip=1000)) == data


@pytest.mark.parametrize("name,value,error,words", [
    ("wifi-scrambler", 0, ValueError, "1 to 127"),
    ("wifi-scrambler", 128, ValueError, "1 to 127"),
    ("wifi-scrambler", -1, ValueError, "1 to 127"),
    ("ble-whitening", 40, ValueError, "0 to 39"),
    ("3gpp-c", 2**64, ValueError, "0 to 2147483647"),
    ("prbs7", 1, ValueError, "takes no parameter"),
    ("wifi-scrambler", "93", TypeError, "int"),
])
def test_parameter_refusals(name, value, error, words):
    with pytest.raises(error, match=words):
        tapwell.preset(name, value)
    assert tapwell.preset("scrambler-64b66b", 2**58 - 1).parameter_value == 2**58 - 1


SOURCES = [
    lambda: tapwell.preset("ccsds-tm-131071"),
    lambda: tapwell.preset("pcie-scrambler"),  # Galois form
    lambda: tapwell.preset("prbs15"),  # inverted
    lambda: [tapwell.Register("10000001001", 0x155), tapwell.Register("10001101111", 1, "galois")],
    lambda: tapwell.preset("scrambler-64b66b", 0x155555555555555),  # multiplicative
    lambda: tapwell.Register("x^7 + x^6 + 1", 0x5D),
]
RNG_DATA = np.random.default_rng(7).integers(0, 256, 3001, dtype=np.uint8).tobytes()


@pytest.mark.parametrize("source", SOURCES)
@pytest.mark.parametrize("order", ["msb", "lsb"])
@pytest.mark.parametrize("kind", [None, "multiplicative"])
def test_round_trip_and_pieces(source, order, kind):
    src = source()
    if kind == "multiplicative" and (isinstance(src, list) or src.form == "galois" or
                                     getattr(src, "inverted", False)):
        with pytest.raises(ValueError, match="one register in Fibonacci form"):
            tapwell.scramble(RNG_DATA, src, kind=kind)
        return
    sent = tapwell.scramble(RNG_DATA, src, kind=kind, bit_order=order)
    assert isinstance(sent, bytes) and len(sent) == len(RNG_DATA) and sent != RNG_DATA
    assert tapwell.scramble(sent, src, kind=kind, descramble=True, bit_order=order) == RNG_DATA
    for descramble, data, expected in ((False, RNG_DATA, sent), (True, sent, RNG_DATA)):
        s = tapwell.Scrambler(src, kind=kind, descramble=descramble, bit_order=order)
        cuts = [0, 1, 2, 9, 64, 65, 1000, 2999, 3001]
        assert b"".join(s.process(data[a:b]) for a, b in zip(cuts, cuts[1:])) == expected


@pytest.mark.parametrize("source", SOURCES[:4])
@pytest.mark.parametrize("order", ["msb", "lsb"])
def test_additive_scrambling_adds_the_stream(source, order):
    src = source()
    stream = tapwell.sequence(src, length=8 * len(RNG_DATA), format="packed", bit_order=order)
    expected = np.frombuffer(RNG_DATA, np.uint8) ^ stream
    assert tapwell.scramble(RNG_DATA, src, bit_order=order) == expected.tobytes()


@pytest.mark.parametrize("order", ["msb", "lsb"])
@pytest.mark.parametrize("poly,state", [("x^58 + x^39 + 1", 0x155555555555555), ("x^7 + x^6 + 1", 0x5D),
                                        ("x^64 + x^4 + x^3 + x + 1", 2**63 + 1)])
def test_a_self_synchronous_descrambler_in_another_state_recovers_from_bit_n(order, poly, state):
    n = tapwell.Poly(poly).degree
    sent = tapwell.scramble(RNG_DATA, tapwell.Register(poly, state), kind="multiplicative", bit_order=order)
    wrong = tapwell.Register(poly, state ^ 0b101)
    back = tapwell.scramble(sent, wrong, kind="multiplicative", descramble=True, bit_order=order)
    bits = {"msb": "big", "lsb": "little"}[order]
    got = np.unpackbits(np.frombuffer(back, np.uint8), bitorder=bits)
    want = np.unpackbits(np.frombuffer(RNG_DATA, np.uint8), bitorder=bits)
    assert np.array_equal(got[n:], want[n:]) and not np.array_equal(got[:n], want[:n])


README_64B66B = bytes.fromhex("ffffffff feaaaa80 0002aaaa aaaaa555")


def test_the_readmes_64b66b_example():
    p = tapwell.preset("scrambler-64b66b", 0x155555555555555)
    assert p.kind == "multiplicative" and tapwell.Scrambler(p).kind == "multiplicative"
    assert tapwell.scramble(bytes(16), p) == README_64B66B
    assert console("scramble", "--preset", "scrambler-64b66b", "--seed", "0x155555555555555", "--input", "-",
                   data=bytes(16)) == README_64B66B


@pytest.mark.parametrize("name,kind,order", [("ccsds-tm-255", None, "msb"), ("ble-whitening", None, "lsb"),
                                             ("scrambler-64b66b", None, "lsb"), ("pcie-scrambler", None, "msb"),
                                             ("wifi-scrambler", "multiplicative", "msb")])
def test_scramble_agrees_with_the_console(name, kind, order):
    args = ["scramble", "--preset", name, "--input", "-", "--bit-order", order] + (["--kind", kind] if kind else [])
    assert tapwell.scramble(RNG_DATA, tapwell.preset(name), kind=kind, bit_order=order) == \
        console(*args, data=RNG_DATA)


def test_data_of_every_buffer_type():
    src = tapwell.preset("dvb-energy")
    expected = tapwell.scramble(RNG_DATA, src)
    array = np.frombuffer(RNG_DATA, np.uint8)
    for data in (bytearray(RNG_DATA), memoryview(RNG_DATA), array, array.reshape(-1, 1)[:3000].reshape(30, 100)):
        assert tapwell.scramble(data, src) == expected[:len(bytes(data))]
    assert array.tobytes() == RNG_DATA  # the input is left as it was
    for bad in ("text", array.astype(np.int16), array[::2], 5):
        with pytest.raises(TypeError):
            tapwell.scramble(bad, src)
    with pytest.raises(ValueError, match="kind"):
        tapwell.Scrambler(src, kind="convolutional")


def test_one_byte_results_are_their_own():
    # CPython shares the bytes objects of one byte: scrambling one in place
    # would change every b"\x00" of the process.
    src = tapwell.preset("ccsds-tm-255")  # its first bytes are ff 48
    assert tapwell.scramble(bytes([0]), src) == b"\xff" and bytes([0])[0] == 0
    s = tapwell.Scrambler(src)
    assert (s.process(bytes([0])), s.process(bytes([0]))) == (b"\xff", b"\x48") and bytes([0])[0] == 0


def test_an_interrupted_scrambler_refuses_more_data():
    child = "\n".join([
        "import signal, threading, tapwell",
        "s = tapwell.Scrambler(tapwell.preset('scrambler-64b66b'))",
        "threading.Timer(0.3, signal.raise_signal, (signal.SIGINT,)).start()",
        "try:\n    s.process(bytes(10**9))\nexcept KeyboardInterrupt:\n    pass",
        "try:\n    s.process(b'1')\nexcept ValueError as e:\n    print(e)",
    ])
    import sys
    out = subprocess.run([sys.executable, "-c", child], capture_output=True, text=True, timeout=60).stdout
    assert "lost its place" in out


@pytest.mark.parametrize("degree", [2, 3, 4, 8, 13, 31, 33, 37, 58, 61, 64])
def test_sparsest_primitive_is_the_consoles(degree):
    p = tapwell.sparsest_primitive(degree)
    facts = json.loads(console("primitive", "--min", str(degree), "--json"))
    assert p.is_primitive() and p.to("binary") == facts["polynomial"] and p.weight == facts["terms"]


def test_sparsest_primitive_known_and_refused():
    assert tapwell.sparsest_primitive(31) == tapwell.Poly("x^31 + x^3 + 1")
    for degree in (1, 65):
        with pytest.raises(ValueError, match="2 to 64"):
            tapwell.sparsest_primitive(degree)
