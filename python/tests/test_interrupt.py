# Ring: tests. Ctrl-C during a long call raises KeyboardInterrupt within
# 100 ms: each call runs in a child process sent SIGINT while it computes.
import os
import signal
import subprocess
import sys
import time

import pytest

CHILD = """
import sys, time, tapwell
call = {call!r}
print("ready", flush=True)
try:
    eval(call)
except KeyboardInterrupt:
    print("interrupted", time.monotonic(), flush=True)
    sys.exit(0)
print("finished", flush=True)
"""

LONG_CALLS = [
    "tapwell.m_sequence('x^31 + x^3 + 1', length=10**10)",
    "tapwell.correlate(tapwell.primitive_poly(27), tapwell.primitive_poly(27).reciprocal())",
    "tapwell.check_pair(tapwell.primitive_poly(27), tapwell.primitive_poly(27).reciprocal())",
    "tapwell.generate([('x^31 + x^3 + 1', 1)], width=31, count=2**32 - 1)",
    "list(tapwell.primitive_polys(32))",
    "tapwell.preferred_pairs(31, count=10)",
    "tapwell.berlekamp_massey(__import__('numpy').random.default_rng(1).integers(0, 2, 3 * 10**6))",
    # A Gold sum of two dense registers: about 3 s a GiB packed.
    "tapwell.sequence([tapwell.Register(0x1B4F3D2A1C5E69787), tapwell.Register(0xFA5B3C2D1E0F1235)], "
    "length=8 * 10**9, format='packed')",
    "tapwell.scramble(bytes(10**9), tapwell.preset('ccsds-tm-131071'))",
    "tapwell.Scrambler(tapwell.preset('scrambler-64b66b')).process(bytes(10**9))",
]


def interrupt_delay(call):
    """Seconds from SIGINT to the child's KeyboardInterrupt."""
    child = subprocess.Popen([sys.executable, "-c", CHILD.format(call=call)], stdout=subprocess.PIPE, text=True,
                             env=dict(os.environ, PYTHONUNBUFFERED="1"))
    assert child.stdout.readline().strip() == "ready"
    time.sleep(0.5)
    sent = time.monotonic()
    child.send_signal(signal.SIGINT)
    out, _ = child.communicate(timeout=30)
    assert child.returncode == 0, out
    word, when = out.split()
    assert word == "interrupted"
    return float(when) - sent


@pytest.mark.parametrize("call", LONG_CALLS)
def test_ctrl_c_interrupts_within_100_ms(call):
    # On a machine busy with other work the scheduler alone can take longer
    # once; the best of three is the call's own answer.
    delays = []
    for _ in range(3):
        delays.append(interrupt_delay(call))
        if delays[-1] < 0.1:
            return
    pytest.fail(f"KeyboardInterrupt came {min(delays) * 1000:.0f} ms after SIGINT at best")
