# Ring: tests. correlate, the pair questions, Berlekamp-Massey and the
# primitive enumeration, each against a plain computation of the same thing.
import threading

import numpy as np
import pytest

import tapwell


def circular_correlation(a, b):
    """r[dt] as the window defines it: A from state 1, B from state dt + 1."""
    n = tapwell.Poly(a).degree
    sa = tapwell.m_sequence(a, output="bipolar").astype(np.int64)
    rows = [tapwell.m_sequence(b, state=dt + 1, output="bipolar").astype(np.int64) for dt in range(2**n - 1)]
    return np.array([int(sa @ row) for row in rows])


@pytest.mark.parametrize("a,b", [("100101", "111101"), ("100101", "100101"), ("1000011", "1100111"),
                                 ("10011", "11001")])
def test_correlate_is_the_plain_sum_at_every_phase(a, b):
    r = tapwell.correlate(a, b)
    assert r.dtype == np.int64
    assert np.array_equal(r, circular_correlation(a, b))


@pytest.mark.parametrize("a,b,error", [
    ("11", "11", ValueError),            # degree 1
    ("10011", "100101", ValueError),     # degrees differ
    ("10011", None, TypeError),
])
def test_correlate_refusals(a, b, error):
    with pytest.raises(error):
        tapwell.correlate(a, b)


def test_pairs_agree_with_their_spectra():
    polys = list(tapwell.primitive_polys(7))
    pairs = tapwell.preferred_pairs(polys)
    assert pairs == tapwell.preferred_pairs(7)
    chosen = set(pairs)
    t = 17
    for i, a in enumerate(polys[:6]):
        for b in polys[i + 1:]:
            check = tapwell.check_pair(a, b)
            values = set(check["values"])
            assert check["t"] == t and sum(check["values"].values()) == 127
            assert check["preferred"] == values.issubset({-1, -t, t - 2}) == ((a, b) in chosen)
            assert tapwell.is_preferred_pair(a, b) == check["preferred"]


@pytest.mark.parametrize("poly,exhaustive", [("100101", False), ("100101", True), ("10000011", True),
                                             ("x^31 + x^3 + 1", False)])
def test_partners_are_preferred_pairs(poly, exhaustive):
    found = tapwell.partners(poly, exhaustive=exhaustive)
    assert found and [p.polynomial for p in found] == sorted(p.polynomial for p in found)
    for p in found:
        assert p.family in ("Gold", "Kasami", "other") and p.known == (p.family != "other")
        if tapwell.Poly(poly).degree <= 12:
            assert tapwell.is_preferred_pair(poly, p.polynomial)


@pytest.mark.parametrize("bits,complexity,poly,unique", [
    (tapwell.m_sequence("10011"), 4, "10011", True),
    (tapwell.m_sequence("x^20 + x^3 + 1", length=100), 20, "x^20 + x^3 + 1", True),
    ([0, 0, 0, 1], 4, None, False),  # fewer than 2L bits
    ([True, False, True, False, True, False], 2, None, True),
    ([0] * 10, 0, None, True),
])
def test_berlekamp_massey(bits, complexity, poly, unique):
    r = tapwell.berlekamp_massey(bits)
    assert r.linear_complexity == complexity and r.unique == unique
    if poly is not None:
        assert r.poly == tapwell.Poly(poly)
        assert np.array_equal(tapwell.m_sequence(r.poly, length=len(bits), state=r.state), np.asarray(bits))


@pytest.mark.parametrize("degree,bounds", [
    (8, ["100011101", "101100011", "110000111", None]),
    (13, [(1 << 13) | 1, (1 << 13) | (999 << 1) | 1, (1 << 13) | (1000 << 1) | 1, (1 << 14) - 1, None]),
])
def test_ranges_concatenate_to_one_run(degree, bounds):
    whole = list(tapwell.primitive_polys(degree))
    ranges = [list(tapwell.primitive_polys(degree, start, stop)) for start, stop in zip([None] + bounds[:-1], bounds)]
    assert sum(ranges, []) == whole
    assert all(p.is_primitive() and p.degree == degree for p in whole)
    assert whole == sorted(whole) and whole[0] == tapwell.primitive_poly(degree)


def test_enumeration_counts_and_early_close():
    assert [sum(1 for _ in tapwell.primitive_polys(n)) for n in (3, 4, 5, 10, 16)] == [2, 2, 6, 60, 2048]
    first = tapwell.primitive_polys(30)
    assert next(first) == tapwell.primitive_poly(30)
    first.close()  # the rest of degree 30 is never searched
    with pytest.raises(ValueError):
        list(tapwell.primitive_polys(33))
    with pytest.raises(ValueError):
        list(tapwell.primitive_polys(8, start="10011"))


def test_two_threads_get_what_each_gets_alone():
    jobs = {"c": lambda: tapwell.correlate(tapwell.primitive_poly(20), tapwell.primitive_poly(20).reciprocal()),
            "p": lambda: list(tapwell.primitive_polys(18)),
            "m": lambda: tapwell.m_sequence("x^22 + x + 1")}
    alone = {k: f() for k, f in jobs.items()}
    together = {}
    threads = [threading.Thread(target=lambda k=k, f=f: together.__setitem__(k, f())) for k, f in jobs.items()]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for k in jobs:
        assert np.array_equal(np.asarray(alone[k], dtype=object), np.asarray(together[k], dtype=object))


def test_ranges_above_degree_32_meet_end_to_end():
    trinomials = list(tapwell.primitive_polys(41, terms=3))
    assert trinomials and all(p.weight == 3 and p.is_primitive() for p in trinomials)
    cut = trinomials[len(trinomials) // 2]
    before = list(tapwell.primitive_polys(41, stop=cut, terms=3))
    after = list(tapwell.primitive_polys(41, start=cut, terms=3))
    assert before + after == trinomials and cut not in before
    with pytest.raises(ValueError, match="never ends"):
        next(tapwell.primitive_polys(41))  # a whole degree above 32, no stop
