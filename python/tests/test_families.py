# Ring: tests. Gold codes and Kasami sets against their definitions from
# m_sequence, and family_correlation against a plain count over every pair
# and phase and against tapwell-cli family --json.
import json
import os
import subprocess

import numpy as np
import pytest

import tapwell

U, V = "100101", "111101"  # a preferred pair of degree 5


def plain_report(codes):
    """The peak cross-correlation and histogram by summing every phase."""
    bipolar = 1 - 2 * np.asarray(codes, dtype=np.int64)
    counts, peak = {}, (-1, None)
    for i in range(len(bipolar)):
        for j in range(i + 1, len(bipolar)):
            for tau in range(bipolar.shape[1]):
                r = int(bipolar[i] @ np.roll(bipolar[j], -tau))
                counts[r] = counts.get(r, 0) + 1
                if abs(r) > peak[0]:
                    peak = (abs(r), (i, j), tau)
    return peak, sorted(counts.items())


def test_gold_members_are_their_definitions():
    u, v = tapwell.m_sequence(U), tapwell.m_sequence(V)
    assert np.array_equal(tapwell.gold_code(U, V, tapwell.GOLD_U), u)
    assert np.array_equal(tapwell.gold_code(U, V, tapwell.GOLD_V), v)
    for k in (0, 1, 17, 30):
        assert np.array_equal(tapwell.gold_code(U, V, k), u ^ np.roll(v, -k)), k
    whole = tapwell.gold_code(U, V, 3)
    assert np.array_equal(tapwell.gold_code(U, V, 3, length=10, first_chip=5), whole[5:15])
    assert np.array_equal(tapwell.gold_code(U, V, 3, output="bipolar"), 1 - 2 * whole.astype(np.int8))


def test_small_kasami_set_takes_the_theorems_values():
    u = tapwell.primitive_poly(6)
    codes = [tapwell.kasami_code(u)] + [tapwell.kasami_code(u, m=m) for m in range(7)]
    report = tapwell.family_correlation(codes)
    assert report["codes"] == 8 and report["length"] == 63
    assert {row["value"] for row in report["histogram"]} <= {-1, -9, 7}  # {-1, -s(n), s(n) - 2}, s = 9


def test_report_is_the_plain_count():
    codes = [tapwell.gold_code(U, V, k) for k in (tapwell.GOLD_U, tapwell.GOLD_V, 0, 4, 9)]
    report = tapwell.family_correlation(codes)
    (magnitude, pair, phase), histogram = plain_report(codes)
    assert report["peak_cross_correlation"]["value"] == magnitude
    assert tuple(report["peak_cross_correlation"]["pair"]) == pair
    assert report["peak_cross_correlation"]["phase"] == phase
    assert [(row["value"], row["count"]) for row in report["histogram"]] == histogram
    assert tapwell.family_correlation(1 - 2 * np.array(codes, dtype=np.int8)) == report


def test_gps_codes_as_tapwell_cli_reports_them():
    names = [f"gps-ca-{k}" for k in range(1, 6)]
    codes = [preset_code(name) for name in names]
    report = tapwell.family_correlation(codes)
    assert report["peak_cross_correlation"]["value"] == 65
    cli = os.environ.get("TAPWELL_CLI")
    if not cli:
        pytest.skip("TAPWELL_CLI names no tapwell-cli to compare with")
    args = [cli, "family", "--json"] + [a for name in names for a in ("--preset", name)]
    facts = json.loads(subprocess.run(args, capture_output=True, check=True, text=True).stdout)
    for key in ("codes", "length", "pairs", "histogram"):
        assert report[key] == facts[key], key
    for key in ("value", "correlation", "phase"):
        assert report["peak_cross_correlation"][key] == facts["peak_cross_correlation"][key], key
    assert list(report["peak_cross_correlation"]["pair"]) == facts["peak_cross_correlation"]["pair"]
    assert report["bound"]["welch"] == pytest.approx(facts["bound"]["welch"], abs=0.01)


def preset_code(name):
    """One period of a Gold-mode preset: the sum of its two registers' outputs."""
    (pa, sa), (pb, sb) = tapwell.preset(name).registers
    return tapwell.m_sequence(pa, state=sa) ^ tapwell.m_sequence(pb, state=sb)


@pytest.mark.parametrize("call,error", [
    (lambda: tapwell.gold_code(U, V, 31), ValueError),               # index beyond 2^5 - 2
    (lambda: tapwell.gold_code(U, "1000011", 0), ValueError),        # degrees differ
    (lambda: tapwell.kasami_code("100101"), ValueError),             # odd degree
    (lambda: tapwell.kasami_code(tapwell.primitive_poly(6), set="medium"), ValueError),
    (lambda: tapwell.gold_code(U, V, 0, output="ternary"), ValueError),
    (lambda: tapwell.family_correlation([[0, 1, 2], [0, 1, 1]]), ValueError),
    (lambda: tapwell.family_correlation([0, 1, 1]), TypeError),
    (lambda: tapwell.family_correlation([[0, 1, 1]]), ValueError),    # fewer than two codes
])
def test_refusals(call, error):
    with pytest.raises(error):
        call()
