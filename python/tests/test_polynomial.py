# Ring: tests. tapwell.Poly and describe: the notations as users write them,
# the questions about one polynomial, and the refusals' exception types.
import json
import os
import subprocess

import pytest
from hypothesis import given, strategies as st

import tapwell

# x^10 + x^3 + 1 in every notation, and how each is recognised or named.
NOTATIONS = [
    ("10000001001", None),
    ("x^10 + x^3 + 1", None),
    ("X^3+x^10+1", None),
    ("0x409", None),
    ("2011", "octal"),
    ("0x204", "koopman"),
    ("1033", "decimal"),
    ("10000001001", "binary"),
    (0b10000001001, None),
    (1033, None),
]


@pytest.mark.parametrize("poly,notation", NOTATIONS)
def test_every_notation_names_one_polynomial(poly, notation):
    p = tapwell.Poly(poly, notation) if notation else tapwell.Poly(poly)
    assert str(p) == "x^10 + x^3 + 1"
    assert int(p) == 1033
    assert p.to("binary") == "10000001001"


@pytest.mark.parametrize("poly,notation,error", [
    ("2011", None, ValueError),        # octal digits must be named
    ("10010", None, ValueError),       # constant term 0
    ("1", None, ValueError),           # degree 0 is no register's
    ("", None, ValueError),
    ("x^65 + 1", None, ValueError),
    ("10011", "roman", ValueError),
    (0, None, ValueError),
    (-19, None, ValueError),
    (18, None, ValueError),            # even word: no constant term
    (1 << 70 | 1, None, ValueError),
    (19.0, None, TypeError),
    (True, None, TypeError),
    (None, None, TypeError),
    (19, "binary", TypeError),
])
def test_refusals_raise_the_python_exception(poly, notation, error):
    with pytest.raises(error):
        tapwell.Poly(poly, notation) if notation else tapwell.Poly(poly)


@pytest.mark.parametrize("poly,degree,weight,irreducible,primitive,order,factors", [
    ("10011", 4, 3, True, True, 15, [("10011", 1)]),
    ("11111", 4, 5, True, False, 5, [("11111", 1)]),
    ("10101", 4, 3, False, False, 6, [("111", 2)]),
    ("x^31 + x^3 + 1", 31, 3, True, True, 2**31 - 1, [("1" + "0" * 27 + "1001", 1)]),
    ("x^64 + x^4 + x^3 + x + 1", 64, 5, True, True, 2**64 - 1, None),
])
def test_the_questions_about_one_polynomial(poly, degree, weight, irreducible, primitive, order, factors):
    p = tapwell.Poly(poly)
    assert (p.degree, p.weight, p.is_irreducible(), p.is_primitive(), p.order()) == (
        degree, weight, irreducible, primitive, order)
    if factors is not None:
        assert [(f.to("binary"), m) for f, m in p.factors()] == factors


def test_degree_64_word_and_reciprocal():
    p = tapwell.Poly("x^64 + x^4 + x^3 + x + 1")
    assert int(p) == (1 << 64) | 0b11011
    assert tapwell.Poly(int(p)) == p
    assert p.reciprocal() == tapwell.Poly("x^64 + x^63 + x^61 + x^60 + 1")
    assert p.reciprocal().reciprocal() == p


def test_equality_hash_repr_and_pickle():
    import pickle
    a, b = tapwell.Poly("10011"), tapwell.Poly(0b10011)
    assert a == b and hash(a) == hash(b) and len({a, b}) == 1
    assert a != tapwell.Poly("11001") and a != "10011"
    assert repr(a) == "Poly('10011')" and eval(repr(a), {"Poly": tapwell.Poly}) == a
    assert pickle.loads(pickle.dumps(a)) == a


polys = st.integers(min_value=1, max_value=64).flatmap(
    lambda n: st.integers(min_value=0, max_value=(1 << (n - 1)) - 1).map(lambda low: (1 << n) | (low << 1) | 1))


@given(polys, st.sampled_from(["binary", "octal", "hex", "koopman", "decimal", "algebraic"]))
def test_every_notation_reads_back_what_it_writes(word, notation):
    p = tapwell.Poly(word)
    assert int(p) == word
    assert tapwell.Poly(p.to(notation), notation) == p


@given(st.text(alphabet="01x^+ 23456789abX", max_size=20))
def test_any_text_is_read_or_refused_with_valueerror(text):
    try:
        p = tapwell.Poly(text)
    except ValueError:
        return
    assert 1 <= p.degree <= 64


DESCRIBED = ["10011", "11", "10101", "1100110011", "100000000000000000000000000001001",
             "1" + "0" * 59 + "11011"]


@pytest.mark.parametrize("poly", DESCRIBED)
def test_describe_gives_what_the_console_prints(poly):
    cli = os.environ.get("TAPWELL_CLI")
    if not cli:
        pytest.skip("TAPWELL_CLI names no tapwell-cli to compare with")
    printed = subprocess.run([cli, "describe", poly, "--json"], check=True, capture_output=True, text=True).stdout
    facts = tapwell.describe(poly)
    assert list(facts) == list(json.loads(printed))
    assert facts == json.loads(printed)


def test_describe_known_facts():
    facts = tapwell.describe(tapwell.Poly("x^4 + x + 1"))
    assert facts["primitive"] is True and facts["order"] == 15
    assert facts["koopman"] == "0x9" and facts["reciprocal"] == "11001"
    assert facts["fibonacci_output"].startswith("100010011010111")
