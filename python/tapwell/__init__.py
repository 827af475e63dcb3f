"""Binary shift-register sequences over GF(2), exactly and fast.

Ring: python. The package around the extension _tapwell: re-exports it and
adds the lazy enumeration of primitive polynomials.

Conventions: a polynomial's reference notation is the window's text, "10011"
is x^4 + x + 1 (coefficients from x^n down to 1), the characteristic
polynomial of the register's output. As an int a polynomial is its
coefficient word, bit k the coefficient of x^k (0b10011). A register's state
has bit 0 as the stage output first; the window's initial value "0001" is 1.
A tapwell.Register is a register of degree 1 to 64 in Fibonacci or Galois
form; tapwell.sequence writes its output (or a preset's, or a Gold sum's)
from any chip on, and tapwell.scramble and tapwell.Scrambler scramble data
with it. Long calls release the GIL, use every core (threads= to choose)
and stop on Ctrl-C with KeyboardInterrupt.
"""

from typing import Iterator, Optional

from . import _tapwell
from ._tapwell import (  # noqa: F401
    GOLD_U,
    GOLD_V,
    Partner,
    Poly,
    Preset,
    Recurrence,
    Register,
    Scrambler,
    berlekamp_massey,
    check_pair,
    correlate,
    describe,
    family_correlation,
    generate,
    gold_code,
    is_preferred_pair,
    kasami_code,
    m_sequence,
    partners,
    preferred_pairs,
    preset,
    presets,
    primitive_poly,
    scramble,
    sequence,
    sparsest_primitive,
)

__version__ = _tapwell.__version__

__all__ = [
    "GOLD_U", "GOLD_V", "Partner", "Poly", "Preset", "Recurrence", "Register", "Scrambler", "berlekamp_massey",
    "check_pair", "correlate", "describe", "family_correlation", "generate", "gold_code", "is_preferred_pair",
    "kasami_code", "m_sequence", "partners", "preferred_pairs", "preset", "presets", "primitive_poly",
    "primitive_polys", "scramble", "sequence", "sparsest_primitive",
]


def primitive_polys(degree: int, start=None, stop=None, terms: int = 0, threads: int = 0) -> Iterator[Poly]:
    """The primitive polynomials of a degree (3 to 64), lazily, in the window's order.

    The window's order is by increasing koopman value (x^n + 1 never among
    them). start and stop (polynomials of the degree, as tapwell.Poly takes
    them) bound the candidates to [start, stop): ranges that meet end to end
    give, one after the other, exactly the list of one run, so a degree can
    be shared among processes or machines. The search runs ahead of the
    reader by a few blocks on its own threads; closing the generator or
    Ctrl-C stops it. terms (odd, 3 to degree + 1) keeps only the polynomials
    of exactly that many non-zero terms (3: the trinomials). Above degree 32
    a whole degree never ends: a stop is needed there, unless few terms
    make the search end by itself.
    """
    stream = _tapwell._primitive_stream(degree, start, stop, terms, threads)
    if stream is None:
        return
    try:
        while True:
            block = stream.next_block()
            if block is None:
                return
            yield from block
    finally:
        stream.close()
