"""Ring: bench. The Python module against what Python users have, measured
side by side in one run: medians, ratios and whether each target is met.

  m_sequence, 10^8 bits at degree 31  vs scipy.signal.max_len_seq, same register
  correlate at degree 20              vs numpy's FFT circular correlation of
                                         the same two +1/-1 sequences
  Poly("x^31 + x^3 + 1").is_primitive(), per call

Run by scripts/bench.sh with PYTHONPATH naming the built module.
"""
import statistics
import time
import timeit

import numpy as np
from scipy.signal import max_len_seq

import tapwell


def median_seconds(call, repeats):
    times = []
    for _ in range(repeats):
        started = time.perf_counter()
        call()
        times.append(time.perf_counter() - started)
    return statistics.median(times)


def report(name, ours, theirs, target):
    ratio = theirs / ours
    verdict = "met" if ratio >= target else "NOT met"
    print(f"{name}: tapwell {ours * 1e3:.1f} ms, baseline {theirs * 1e3:.1f} ms (medians), "
          f"{ratio:.1f}x; target {target}x {verdict}")


def bench_m_sequence():
    bits = 10**8
    # scipy's taps [3] are x^31 + x^3 + 1 in ours; its all-ones state is ours 2^31 - 1.
    poly, state = tapwell.Poly("x^31 + x^3 + 1"), 2**31 - 1
    ours = tapwell.m_sequence(poly, length=bits, state=state)
    theirs, _ = max_len_seq(31, length=bits, taps=[3])
    assert np.array_equal(ours, theirs), "the two registers differ"
    del ours, theirs
    t_ours = median_seconds(lambda: tapwell.m_sequence(poly, length=bits, state=state), 5)
    t_theirs = median_seconds(lambda: max_len_seq(31, length=bits, taps=[3]), 3)
    report("m_sequence 10^8 bits, degree 31, vs scipy max_len_seq", t_ours, t_theirs, 20)


def bench_correlate():
    a = tapwell.primitive_poly(20)
    b = a.reciprocal()
    sa = tapwell.m_sequence(a, output="bipolar").astype(np.float64)
    sb = tapwell.m_sequence(b, output="bipolar").astype(np.float64)

    def fft_correlation():
        return np.rint(np.fft.ifft(np.conj(np.fft.fft(sa)) * np.fft.fft(sb)).real).astype(np.int64)

    # The same values over the phases, whichever way each numbers them.
    assert np.array_equal(np.sort(tapwell.correlate(a, b)), np.sort(fft_correlation()))
    t_ours = median_seconds(lambda: tapwell.correlate(a, b), 9)
    t_theirs = median_seconds(fft_correlation, 9)
    report("correlate degree 20 vs numpy FFT circular correlation", t_ours, t_theirs, 10)


def bench_is_primitive():
    p = tapwell.Poly("x^31 + x^3 + 1")
    calls = 200_000
    per_call = statistics.median(timeit.repeat(p.is_primitive, number=calls, repeat=5)) / calls
    verdict = "met" if per_call < 5e-6 else "NOT met"
    print(f"Poly('x^31 + x^3 + 1').is_primitive(): {per_call * 1e6:.2f} us a call (median of 5 x {calls}); "
          f"target under 5 us {verdict}")


if __name__ == "__main__":
    print(f"python module: tapwell {tapwell.__version__}, numpy {np.__version__}")
    bench_m_sequence()
    bench_correlate()
    bench_is_primitive()
