"""The primitive polynomials of one degree, the degree split into ranges of
candidates spread over Dask's distributed scheduler; checked against one call.

Usage: python3 dask_primitive.py [DEGREE] [SCHEDULER_ADDRESS]

Without an address it starts a local cluster of two worker processes; with
one (e.g. tcp://10.0.0.5:8786, a `dask scheduler` whose workers can import
tapwell) the same ranges run on that cluster.
"""
import sys

from distributed import Client, LocalCluster

import tapwell

RANGES = 16


def bounds(degree, parts):
    """Candidates x^n + 1 .. x^(n+1) - 1 cut into [start, stop) ranges; the
    last has no stop: to the end of the degree."""
    first, span = 1 << (degree - 1), 1 << (degree - 1)  # koopman values of the degree
    cuts = [first + span * k // parts for k in range(parts)]
    starts = [tapwell.Poly((v << 1) | 1) for v in cuts]
    return list(zip(starts, starts[1:] + [None]))


def primitive_range(degree, start, stop):
    return [int(p) for p in tapwell.primitive_polys(degree, start, stop)]


def main():
    degree = int(sys.argv[1]) if len(sys.argv) > 1 else 24
    address = sys.argv[2] if len(sys.argv) > 2 else None
    cluster = None if address else LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                                dashboard_address=None)
    with Client(address or cluster) as client:
        futures = [client.submit(primitive_range, degree, start, stop) for start, stop in bounds(degree, RANGES)]
        spread = [word for part in client.gather(futures) for word in part]
    if cluster is not None:
        cluster.close()
    whole = [int(p) for p in tapwell.primitive_polys(degree)]
    print(f"degree {degree}: {len(spread)} primitive polynomials in {RANGES} ranges, {len(whole)} in one call")
    if spread != whole:
        print("the ranges differ from one call", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
