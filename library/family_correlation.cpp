// Ring: library. tapwell/families.hpp's correlation report. Each code's
// spectrum is transformed once; a pair's correlation over every phase is one
// product and one inverse transform, its values rounded to the integers they
// are. The pool's threads each take chunks of pairs with scratch of their
// own (a product, the inverse and the counts of every value) and the caller
// merges them, so the result is the same for any number of threads. The
// codes are zero-padded to a length of at least 2N - 1 with small prime
// factors, which gives the aperiodic correlation C of both signs of the
// shift: periodic and odd values are C(tau) + C(tau - N) and C(tau) -
// C(tau - N). A transform of twice the length is still several times faster
// than one of length 2^n - 1 itself (1023 = 3 11 31, 65535 = 3 5 17 257).
#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

#include "library/api_support.h"
#include "library/fourier/real_transform.h"
#include "runtime/worker_pool.h"
#include "tapwell/families.hpp"

namespace tapwell {

namespace {

// Rounding farther than this from an integer means the transform was not
// exact enough: never seen below FAMILY_MAX_LENGTH, but checked on every value.
constexpr double ROUNDING_MARGIN = 0.25;
// The spectra of a tile's two blocks of codes: what a core's cache holds.
constexpr std::size_t TILE_BYTES = std::size_t{1} << 19;
// Inverse transforms worth measuring a plan for (in chips, pairs times length).
constexpr double MEASURE_CHIPS = 1u << 28;

// The smallest length at least `least` whose prime factors are 2, 3, 5, 7:
// the lengths FFTW transforms fastest.
std::size_t smooth_length(std::size_t least) {
    for (std::size_t l = least;; ++l) {
        std::size_t r = l;
        for (std::size_t p : {2u, 3u, 5u, 7u}) {
            while (r % p == 0) r /= p;
        }
        if (r == 1) return l;
    }
}

// What one thread has counted: the values (index (r + N) / 2, r having N's
// parity) and the peaks.
struct Tally {
    std::vector<std::uint64_t> counts;
    CrossPeak cross;
    AutoPeak autocorrelation;
    bool has_cross = false, has_auto = false;
    bool inexact = false;
};

struct Scratch {
    AlignedArray<Complex> product;
    AlignedArray<double> values;
    std::vector<std::int32_t> rounded;
    Tally periodic, odd;
};

bool cross_before(const CrossPeak& a, const CrossPeak& b) {
    if (a.magnitude != b.magnitude) return a.magnitude > b.magnitude;
    if (a.first != b.first) return a.first < b.first;
    if (a.second != b.second) return a.second < b.second;
    return a.phase < b.phase;
}
bool auto_before(const AutoPeak& a, const AutoPeak& b) {
    if (a.magnitude != b.magnitude) return a.magnitude > b.magnitude;
    if (a.code != b.code) return a.code < b.code;
    return a.phase < b.phase;
}

class Report {
public:
    Report(const std::uint8_t* chips, std::size_t codes, std::size_t length, bool odd, WorkerPool& pool)
        : chips_(chips), codes_(codes), n_(length), odd_(odd), pool_(pool),
          transform_(smooth_length(2 * length - 1),
                     static_cast<double>(codes) * static_cast<double>(codes) / 2 * static_cast<double>(length) > MEASURE_CHIPS),
          stride_((transform_.spectrum_size() + 3) / 4 * 4),
          scale_(1.0 / static_cast<double>(transform_.length())),
          spectra_(aligned_array<Complex>(codes * stride_)), scratch_(static_cast<std::size_t>(pool.size())) {
        for (Scratch& s : scratch_) {
            s.product = aligned_array<Complex>(stride_);
            s.values = aligned_array<double>(transform_.length());
            s.rounded.assign(n_, 0);
            s.periodic.counts.assign(n_ + 1, 0);
            if (odd_) s.odd.counts.assign(n_ + 1, 0);
        }
        block_ = std::max<std::size_t>(1, TILE_BYTES / (2 * stride_ * sizeof(Complex)));
        tile_pairs_.push_back(0);
        for (std::size_t rows = 0; rows < codes; rows += block_) {
            for (std::size_t columns = rows; columns < codes; columns += block_) {
                tiles_.push_back({rows, columns});
                std::uint64_t pairs = 0;
                for (std::size_t i = rows; i < std::min(codes, rows + block_); ++i) {
                    const std::size_t from = std::max(columns, i + 1), to = std::min(codes, columns + block_);
                    pairs += to > from ? to - from : 0;
                }
                tile_pairs_.push_back(tile_pairs_.back() + pairs);
            }
        }
    }

    std::uint64_t pairs() const { return tile_pairs_.back(); }

    // Each code's spectrum, then its autocorrelation.
    bool transform_codes() {
        return run_items(codes_, 1, [this](Scratch& s, std::uint64_t code, std::uint64_t) {
            double* x = s.values.get();
            const std::uint8_t* c = chips_ + code * n_;
            for (std::size_t t = 0; t < n_; ++t) x[t] = c[t] ? -1.0 : 1.0;
            std::fill(x + n_, x + transform_.length(), 0.0);
            Complex* spectrum = spectra_.get() + code * stride_;
            transform_.forward(x, spectrum);
            for (std::size_t k = 0; k < transform_.spectrum_size(); ++k) {
                s.product[k] = std::norm(spectrum[k]);
            }
            correlate(s, code, code);
        });
    }

    // Tiles first .. first + count - 1: the pairs (i, j), i < j, of a block
    // of codes against a block, so that each spectrum read from memory
    // serves a block's worth of pairs from the cache.
    bool correlate_tiles(std::size_t first, std::size_t count) {
        return run_items(count, 1, [this, first](Scratch& s, std::uint64_t begin, std::uint64_t) {
            const Tile tile = tiles_[first + begin];
            const std::size_t i_end = std::min(codes_, tile.rows + block_), j_end = std::min(codes_, tile.columns + block_);
            Complex* product = s.product.get();
            for (std::size_t i = tile.rows; i < i_end; ++i) {
                for (std::size_t j = std::max(tile.columns, i + 1); j < j_end; ++j) {
                    const Complex* a = spectra_.get() + i * stride_;
                    const Complex* b = spectra_.get() + j * stride_;
                    // conj(a) b written out: std::complex's product checks for
                    // infinities at every call.
                    for (std::size_t k = 0; k < transform_.spectrum_size(); ++k) {
                        const double ar = a[k].real(), ai = a[k].imag(), br = b[k].real(), bi = b[k].imag();
                        product[k] = Complex(ar * br + ai * bi, ar * bi - ai * br);
                    }
                    correlate(s, i, j);
                }
            }
        });
    }

    std::size_t tile_count() const { return tiles_.size(); }
    // The pairs of tiles [0, end).
    std::uint64_t pairs_before(std::size_t end) const { return tile_pairs_[end]; }

    CorrelationSummary summary(bool odd) const {
        CorrelationSummary out;
        std::vector<std::uint64_t> counts(n_ + 1, 0);
        bool has_cross = false, has_auto = false;
        for (const Scratch& s : scratch_) {
            if (s.periodic.inexact || s.odd.inexact) {
                throw Error("a correlation value did not round to an integer: the transform was not exact enough");
            }
            const Tally& t = odd ? s.odd : s.periodic;
            for (std::size_t v = 0; v <= n_; ++v) counts[v] += t.counts[v];
            if (t.has_cross && (!has_cross || cross_before(t.cross, out.cross))) out.cross = t.cross;
            if (t.has_auto && (!has_auto || auto_before(t.autocorrelation, out.autocorrelation))) {
                out.autocorrelation = t.autocorrelation;
            }
            has_cross = has_cross || t.has_cross;
            has_auto = has_auto || t.has_auto;
        }
        for (std::size_t v = 0; v <= n_; ++v) {
            if (counts[v] != 0) out.histogram.push_back({static_cast<std::int64_t>(2 * v) - static_cast<std::int64_t>(n_), counts[v]});
        }
        return out;
    }

private:
    // The items [0, count) in chunks of `per_chunk`, each thread with its own
    // scratch; false when stopped.
    template <typename Work>
    bool run_items(std::uint64_t count, std::uint64_t per_chunk, const Work& work) {
        std::atomic<std::uint64_t> next{0};
        pool_.for_each(scratch_.size(), [&](std::size_t slot) {
            Scratch& s = scratch_[slot];
            for (;;) {
                if (pool_.stopped()) return;
                const std::uint64_t begin = next.fetch_add(per_chunk, std::memory_order_relaxed);
                if (begin >= count) return;
                const std::uint64_t end = std::min(count, begin + per_chunk);
                work(s, begin, end);
            }
        });
        return !pool_.stopped();
    }

    // Rounds phases [0, N) of one correlation into `values` (v[0] given, the
    // rest x[tau] + sign * y[tau] scaled), a loop without branches the
    // compiler vectorises; then counts them. Rounding by adding 1.5 2^52 is
    // round-to-nearest for the magnitudes met here (below 2^21).
    void tally(Tally& tally, std::int32_t* v, double at_zero, const double* x, const double* y, double sign,
               std::size_t a, std::size_t b) const {
        constexpr double ROUNDER = 6755399441055744.0;
        double worst = 0.0;
        {
            const double scaled = at_zero * scale_, r = (scaled + ROUNDER) - ROUNDER;
            worst = std::fabs(scaled - r);
            v[0] = static_cast<std::int32_t>(r);
        }
        for (std::size_t tau = 1; tau < n_; ++tau) {
            const double scaled = (x[tau] + sign * y[tau]) * scale_, r = (scaled + ROUNDER) - ROUNDER;
            const double error = std::fabs(scaled - r);
            worst = error > worst ? error : worst;
            v[tau] = static_cast<std::int32_t>(r);
        }
        if (worst > ROUNDING_MARGIN) tally.inexact = true;
        const std::int64_t n = static_cast<std::int64_t>(n_);
        std::int64_t largest = 0;
        std::uint64_t* counts = tally.counts.data();
        const std::size_t from = a == b ? 1 : 0;  // an autocorrelation's peak is out of phase
        for (std::size_t tau = from; tau < n_; ++tau) {
            const std::int64_t value = v[tau];
            largest = std::max(largest, value < 0 ? -value : value);
            if (a == b) continue;
            // A correlation of N chips lies in [-N, N] with N's parity; anything
            // else was not exact.
            const std::uint64_t index = static_cast<std::uint64_t>(value + n);
            if (index > 2 * n_ || (index & 1u) != 0) {
                tally.inexact = true;
                continue;
            }
            ++counts[index >> 1];
        }
        const auto magnitude = static_cast<std::uint64_t>(largest);
        const bool is_auto = a == b;
        if (is_auto ? (tally.has_auto && magnitude < tally.autocorrelation.magnitude)
                    : (tally.has_cross && magnitude < tally.cross.magnitude)) {
            return;
        }
        std::size_t tau = from;
        while (tau + 1 < n_ && static_cast<std::uint64_t>(v[tau] < 0 ? -std::int64_t{v[tau]} : v[tau]) != magnitude) ++tau;
        if (is_auto) {
            const AutoPeak peak{magnitude, v[tau], a, tau};
            if (!tally.has_auto || auto_before(peak, tally.autocorrelation)) tally.autocorrelation = peak;
            tally.has_auto = true;
        } else {
            const CrossPeak peak{magnitude, v[tau], a, b, tau};
            if (!tally.has_cross || cross_before(peak, tally.cross)) tally.cross = peak;
            tally.has_cross = true;
        }
    }

    // The inverse of the scratch's product: codes a and b over every phase.
    // c[tau] is C(tau) and c[L - m] is C(-m); at tau = 0, C(-N) is 0.
    void correlate(Scratch& s, std::size_t a, std::size_t b) const {
        double* c = s.values.get();
        transform_.inverse(s.product.get(), c);
        const double* behind = c + (transform_.length() - n_);
        tally(s.periodic, s.rounded.data(), c[0], c, behind, 1.0, a, b);
        if (odd_) tally(s.odd, s.rounded.data(), c[0], c, behind, -1.0, a, b);
    }

    const std::uint8_t* chips_;
    std::size_t codes_, n_;
    bool odd_;
    WorkerPool& pool_;
    RealTransform transform_;
    std::size_t stride_;
    double scale_;
    AlignedArray<Complex> spectra_;
    std::vector<Scratch> scratch_;
    struct Tile {
        std::size_t rows, columns;  // the first code of each block
    };
    std::size_t block_ = 1;
    std::vector<Tile> tiles_;
    std::vector<std::uint64_t> tile_pairs_;  // pairs before each tile, and in all
};

FamilyReport report_of(const std::uint8_t* chips, std::size_t codes, std::size_t length,
                       const FamilyCorrelationOptions& options) {
    if (codes < 2) throw InvalidArgument("a family's report takes at least two codes; there are " + std::to_string(codes));
    if (length < 2 || length > FAMILY_MAX_LENGTH) {
        throw InvalidArgument("the codes have " + std::to_string(length) + " chips; a family's report takes 2 to " +
                              std::to_string(FAMILY_MAX_LENGTH) + " (the exact range of its transforms)");
    }
    ProgressReport progress(options.run);
    WorkerPool pool(pool_threads(options.run.threads), options.run.stop);
    Report report(chips, codes, length, options.odd, pool);
    const std::uint64_t total = report.pairs();
    progress(0, total);
    if (!report.transform_codes()) throw Stopped();
    // Rounds of a few tiles per thread, so that progress and a stop are
    // seen between them.
    const std::size_t round = static_cast<std::size_t>(pool.size()) * 16;
    for (std::size_t done = 0; done < report.tile_count();) {
        const std::size_t count = std::min(round, report.tile_count() - done);
        if (!report.correlate_tiles(done, count)) throw Stopped();
        done += count;
        progress(report.pairs_before(done), total);
    }
    FamilyReport out;
    out.codes = codes;
    out.length = length;
    out.periodic = report.summary(false);
    if (options.odd) out.odd = report.summary(true);
    out.welch_bound = welch_bound(codes, length);
    return out;
}

}  // namespace

double welch_bound(std::size_t codes, std::size_t length) {
    const double k = static_cast<double>(codes), n = static_cast<double>(length);
    return k * n <= 1.0 ? 0.0 : n * std::sqrt((k - 1.0) / (k * n - 1.0));
}

FamilyReport family_correlation(std::span<const std::uint8_t> chips, std::size_t length,
                                const FamilyCorrelationOptions& options) {
    if (length == 0 || chips.size() % length != 0) {
        throw InvalidArgument(std::to_string(chips.size()) + " chips are not whole codes of " + std::to_string(length));
    }
    for (std::size_t i = 0; i < chips.size(); ++i) {
        if (chips[i] > 1) {
            throw InvalidArgument("code " + std::to_string(i / length) + ", chip " + std::to_string(i % length) +
                                  ": " + std::to_string(chips[i]) + " is not 0 or 1");
        }
    }
    return report_of(chips.data(), chips.size() / length, length, options);
}

FamilyReport family_correlation(std::span<const std::int8_t> chips, std::size_t length,
                                const FamilyCorrelationOptions& options) {
    std::vector<std::uint8_t> bits(chips.size());
    for (std::size_t i = 0; i < chips.size(); ++i) {
        if (chips[i] != 1 && chips[i] != -1) {
            throw InvalidArgument("code " + std::to_string(i / std::max<std::size_t>(length, 1)) + ", chip " +
                                  std::to_string(i % std::max<std::size_t>(length, 1)) + ": " +
                                  std::to_string(chips[i]) + " is not +1 or -1");
        }
        bits[i] = chips[i] < 0 ? 1u : 0u;
    }
    return family_correlation(std::span<const std::uint8_t>(bits), length, options);
}

FamilyReport family_correlation(std::span<const std::vector<std::uint8_t>> codes,
                                const FamilyCorrelationOptions& options) {
    if (codes.empty()) return report_of(nullptr, 0, 0, options);
    const std::size_t length = codes[0].size();
    std::vector<std::uint8_t> chips;
    chips.reserve(codes.size() * length);
    for (std::size_t c = 0; c < codes.size(); ++c) {
        if (codes[c].size() != length) {
            throw InvalidArgument("code " + std::to_string(c) + " has " + std::to_string(codes[c].size()) +
                                  " chips and code 0 " + std::to_string(length) + ": the codes have one length");
        }
        chips.insert(chips.end(), codes[c].begin(), codes[c].end());
    }
    return family_correlation(std::span<const std::uint8_t>(chips), length, options);
}

}  // namespace tapwell
