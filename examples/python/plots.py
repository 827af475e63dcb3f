"""Pictures of tapwell's correlations, written as PNG files.

  gps_prn1_prn2.png      the cross-correlation of GPS C/A PRN 1 and PRN 2
                         over all 1023 phases
  pair_histograms.png    the correlation values of a preferred pair of
                         degree 10 beside those of a pair that is not one

Usage: python3 plots.py [OUTPUT_DIRECTORY]   (default: the current one)
"""
import sys
from pathlib import Path

import matplotlib

matplotlib.use("Agg")  # files only, no display needed
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import tapwell  # noqa: E402


def ca_code(prn):
    p = tapwell.preset(f"gps-ca-{prn}")
    chips = tapwell.generate(p.registers, mode=p.mode, count=1023).astype(np.int64)
    return 1 - 2 * chips  # 0 -> +1, 1 -> -1


def circular_correlation(a, b):
    """r[k] = sum over i of a[i] * b[i + k], every phase at once."""
    return np.rint(np.fft.ifft(np.conj(np.fft.fft(a)) * np.fft.fft(b)).real).astype(np.int64)


def plot_gps(out):
    r = circular_correlation(ca_code(1), ca_code(2))
    fig, ax = plt.subplots(figsize=(9, 3.5))
    ax.plot(r, linewidth=0.8)
    for level in (-65, -1, 63):
        ax.axhline(level, color="grey", linestyle=":", linewidth=0.8)
    ax.set(title="GPS C/A PRN 1 against PRN 2: cross-correlation over all phases",
           xlabel="phase (chips)", ylabel="r", xlim=(0, 1022))
    fig.tight_layout()
    fig.savefig(out / "gps_prn1_prn2.png", dpi=100)
    plt.close(fig)


def non_preferred_partner(a):
    for b in tapwell.primitive_polys(a.degree):
        if b != a and not tapwell.is_preferred_pair(a, b):
            return b
    raise RuntimeError("every polynomial pairs")


def plot_histograms(out):
    a = tapwell.Poly("x^10 + x^3 + 1")  # GPS G1
    preferred = tapwell.Poly("x^10 + x^9 + x^8 + x^6 + x^3 + x^2 + 1")  # GPS G2
    other = non_preferred_partner(a)
    fig, axes = plt.subplots(1, 2, figsize=(10, 3.5), sharey=True)
    for ax, b, label in ((axes[0], preferred, "a preferred pair"), (axes[1], other, "a pair that is not")):
        check = tapwell.check_pair(a, b)
        values, counts = zip(*sorted(check["values"].items()))
        ax.bar(values, counts, width=3)
        ax.set(title=f"{label}:\n{a}  and  {b}", xlabel="r", ylabel="phases")
        ax.title.set_fontsize(9)
    fig.tight_layout()
    fig.savefig(out / "pair_histograms.png", dpi=100)
    plt.close(fig)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    plot_gps(out)
    plot_histograms(out)


if __name__ == "__main__":
    main()
