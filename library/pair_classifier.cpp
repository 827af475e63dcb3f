// Ring: library. See pair_classifier.h.
#include "library/pair_classifier.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "core/field_log.h"
#include "core/phase_words.h"
#include "tapwell/preferred_values.hpp"
#include "core/primitivity.h"
#include "core/shift_register.h"
#include "library/pair_phases.h"

namespace tapwell {

namespace {

enum : std::uint8_t { UNKNOWN = 0, PREFERRED = 1, NOT_PREFERRED = 2, ASKED = 3 };

constexpr std::size_t ENTRY_BLOCK = 64;                  // entries a task, for the decimations
constexpr std::uint64_t SEGMENT_WORDS = 1u << 18;        // words of a coset's first phases a task
constexpr std::size_t ROW_PIECE = 4096;                  // pairs of a row a task, for the look-ups
constexpr std::size_t SCAN_LIMIT = std::size_t{1} << 20;  // pairs looked through for one batch
constexpr int ALONE_DEGREE = 20;                          // up to here a coset is decided on one thread

std::uint32_t leader_of(const PairClassifier& c, std::uint32_t q) {
    return static_cast<std::uint32_t>(coset_leader(q, c.n));
}

std::uint8_t stored(const PairClassifier& c, std::uint32_t q) {
    if (!c.table.empty()) return c.table[q];
    const auto it = c.map.find(leader_of(c, q));
    return it == c.map.end() ? std::uint8_t{UNKNOWN} : it->second;
}

// Every member of q's coset gets the value.
void store(PairClassifier& c, std::uint32_t q, std::uint8_t value) {
    if (c.table.empty()) {
        c.map[leader_of(c, q)] = value;
        return;
    }
    std::uint32_t r = q;
    for (int i = 0; i < c.n; ++i) {
        c.table[r] = value;
        r = ((r << 1) | (r >> (c.n - 1))) & c.period;
    }
}

void give_up(PairClassifier& c) {
    std::fill(c.decimation.begin(), c.decimation.end(), 0u);
    c.table = {};
    c.map = {};
}

bool prepare_decimations(WorkerPool& pool, PairClassifier& c, const std::uint32_t* list, std::size_t count) {
    const int n = c.n;
    std::vector<std::uint8_t> usable(count, 0);
    const std::size_t blocks = (count + ENTRY_BLOCK - 1) / ENTRY_BLOCK;
    pool.for_each(blocks, [&](std::size_t b) {
        for (std::size_t k = b * ENTRY_BLOCK; k < count && k < (b + 1) * ENTRY_BLOCK && !pool.stopped(); ++k) {
            usable[k] = (list[k] >> (n - 1)) == 1u && is_primitive_fast(list[k], n);
        }
    });
    if (pool.stopped()) return false;
    const auto first = std::find(usable.begin(), usable.end(), 1);
    if (first == usable.end()) return true;

    FieldLog log;
    if (!prepare_field_log(log, {list[first - usable.begin()], n}, pool.stop_token())) return false;
    std::vector<std::uint32_t> polys;
    for (std::size_t k = 0; k < count; ++k) {
        if (usable[k]) polys.push_back(list[k]);
    }
    std::sort(polys.begin(), polys.end());
    polys.erase(std::unique(polys.begin(), polys.end()), polys.end());
    std::vector<std::uint32_t> found(polys.size(), 0), inverse(polys.size(), 0);
    pool.for_each((polys.size() + ENTRY_BLOCK - 1) / ENTRY_BLOCK, [&](std::size_t b) {
        BerlekampMassey bm;
        for (std::size_t k = b * ENTRY_BLOCK; k < polys.size() && k < (b + 1) * ENTRY_BLOCK && !pool.stopped(); ++k) {
            found[k] = static_cast<std::uint32_t>(decimation_of(log, {polys[k], n}, bm));
            if (found[k] != 0) inverse[k] = static_cast<std::uint32_t>(mersenne_inverse(found[k], n));
        }
    });
    if (pool.stopped()) return false;
    for (std::size_t k = 0; k < count; ++k) {
        if (!usable[k]) continue;
        const auto at = std::lower_bound(polys.begin(), polys.end(), list[k]) - polys.begin();
        c.decimation[k] = found[at];
        c.inverse[k] = inverse[at];
    }
    c.family = family_leaders(n);
    if (n <= PAIR_TABLE_MAX_DEGREE) c.table.assign(std::size_t{1} << n, UNKNOWN);
    return true;
}

// The cosets in `open` whose first phases are not all preferred values get
// NOT_PREFERRED. Each coset's period is counted in segments, every segment of
// every coset a task of its own.
bool count_first_phases(WorkerPool& pool, PairClassifier& c, const std::vector<CosetQuestion>& batch,
                        const std::vector<std::size_t>& open, std::vector<std::uint8_t>& verdict) {
    if (c.plans.size() < open.size()) c.plans.resize(open.size());
    std::vector<PhaseWords>& plans = c.plans;
    pool.for_each(open.size(), [&](std::size_t m) {
        const CosetQuestion& q = batch[open[m]];
        if (!pool.stopped()) plan_phase_words(plans[m], c.n, c.taps[q.i], c.taps[q.j]);
    });
    if (pool.stopped()) return false;
    const std::uint64_t words = plans[0].words;
    const std::uint64_t segments = (words + SEGMENT_WORDS - 1) / SEGMENT_WORDS;
    std::vector<std::atomic<std::uint64_t>> differ(open.size() * PHASE_WORDS_STATES);
    pool.for_each(open.size() * segments, [&](std::size_t piece) {
        if (pool.stopped()) return;
        const std::size_t m = piece / segments;
        const std::uint64_t from = (piece % segments) * SEGMENT_WORDS;
        std::uint64_t local[PHASE_WORDS_STATES] = {};
        if (!count_phase_differences(plans[m], from, std::min(words, from + SEGMENT_WORDS), local, pool.stop_token())) {
            return;
        }
        for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
            differ[m * PHASE_WORDS_STATES + i].fetch_add(local[i], std::memory_order_relaxed);
        }
    });
    if (pool.stopped()) return false;
    for (std::size_t m = 0; m < open.size(); ++m) {
        std::uint64_t sums[PHASE_WORDS_STATES];
        for (int i = 0; i < PHASE_WORDS_STATES; ++i) {
            sums[i] = differ[m * PHASE_WORDS_STATES + i].load(std::memory_order_relaxed);
        }
        if (!first_phases_preferred(c.n, sums)) verdict[open[m]] = NOT_PREFERRED;
    }
    return true;
}

// One coset on one thread from start to end: its first phases, then, when
// they are all preferred values, all its phases (4 x 2^n bytes). UNKNOWN
// when stopped.
std::uint8_t decide_alone(const PairClassifier& c, PhaseWords& plan, const CosetQuestion& q,
                          const std::stop_token& stop) {
    if (c.first_phases) {
        switch (first_phases_of(plan, c.n, c.taps[q.i], c.taps[q.j], stop)) {
            case FirstPhases::stopped: return UNKNOWN;
            case FirstPhases::not_preferred: return NOT_PREFERRED;
            case FirstPhases::all_preferred: break;
        }
    }
    WorkerPool alone(1, stop);
    switch (preferred_spectrum(alone, c.n, c.taps[q.i], c.taps[q.j], c.max_chunk_bits)) {
        case SpectrumEnd::complete: return PREFERRED;
        case SpectrumEnd::other_value: return NOT_PREFERRED;
        default: return UNKNOWN;
    }
}

bool decide(WorkerPool& pool, PairClassifier& c, const std::vector<CosetQuestion>& batch) {
    std::vector<std::uint8_t> verdict(batch.size(), UNKNOWN);
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < batch.size(); ++k) {
        const PairVerdict v = verdict_by_theorem(batch[k].q, c.n, c.family);
        if (v == PairVerdict::unknown) {
            open.push_back(k);
        } else {
            verdict[k] = v == PairVerdict::preferred ? PREFERRED : NOT_PREFERRED;
        }
    }
    if (c.n <= ALONE_DEGREE) {
        // A coset is too little work here to share out: each goes to one
        // thread, so that the batch waits for its threads once, not at every
        // step of every coset.
        if (c.plans.size() < open.size()) c.plans.resize(open.size());
        pool.for_each(open.size(), [&](std::size_t m) {
            if (!pool.stopped()) verdict[open[m]] = decide_alone(c, c.plans[m], batch[open[m]], pool.stop_token());
        });
        if (pool.stopped()) return false;
    } else {
        if (c.first_phases && !open.empty() && !count_first_phases(pool, c, batch, open, verdict)) return false;
        for (std::size_t k : open) {
            if (verdict[k] != UNKNOWN) continue;
            const SpectrumEnd end =
                preferred_spectrum(pool, c.n, c.taps[batch[k].i], c.taps[batch[k].j], c.max_chunk_bits);
            if (end == SpectrumEnd::stopped) return false;
            verdict[k] = end == SpectrumEnd::complete ? PREFERRED : NOT_PREFERRED;
        }
    }
    for (std::size_t k = 0; k < batch.size(); ++k) store(c, batch[k].q, verdict[k]);
    return true;
}

}  // namespace

bool prepare_pair_classifier(WorkerPool& pool, PairClassifier& c, const std::uint32_t* list, std::size_t count,
                             int n) {
    c.n = n;
    c.period = n >= 3 && n <= 32 ? static_cast<std::uint32_t>((std::uint64_t{1} << n) - 1u) : 0u;
    c.taps.assign(count, 0);
    c.decimation.assign(count, 0);
    c.inverse.assign(count, 0);
    c.table = {};
    c.map = {};
    if (c.period == 0) return true;
    const std::uint32_t top = 1u << (n - 1);
    for (std::size_t k = 0; k < count; ++k) c.taps[k] = taps_of(list[k], top);
    try {
        return prepare_decimations(pool, c, list, count);
    } catch (const std::bad_alloc&) {
        give_up(c);  // without the memory for the tables every pair is stepped
        return true;
    }
}

PairVerdict known_verdict(const PairClassifier& c, std::uint32_t q) {
    switch (stored(c, q)) {
        case PREFERRED: return PairVerdict::preferred;
        case NOT_PREFERRED: return PairVerdict::not_preferred;
        default: return PairVerdict::unknown;
    }
}

void look_up_rows(WorkerPool& pool, const PairClassifier& c, std::size_t first, std::size_t count, std::size_t pairs,
                  RowVerdicts& rows) {
    rows.first = first;
    rows.start.clear();
    std::size_t total = 0;
    std::size_t end = first;
    while (end + 1 < count && (end == first || total < pairs)) {
        rows.start.push_back(total);
        total += count - end - 1;
        ++end;
    }
    rows.end = end;
    if (c.decimation.empty()) {
        rows.verdict.assign(total, PairVerdict::unknown);
        return;
    }
    // Every verdict is written below, on the pool: none is cleared first.
    rows.verdict.resize(total);
    pool.for_each((total + ROW_PIECE - 1) / ROW_PIECE, [&](std::size_t piece) {
        // The row holding this piece's first pair, then pair after pair.
        std::size_t k = piece * ROW_PIECE;
        const std::size_t stop = std::min(total, k + ROW_PIECE);
        std::size_t r = static_cast<std::size_t>(std::upper_bound(rows.start.begin(), rows.start.end(), k) - rows.start.begin()) - 1;
        for (; k < stop; ++r) {
            const std::size_t i = first + r;
            const std::size_t row_end = r + 1 < rows.start.size() ? rows.start[r + 1] : total;
            for (; k < stop && k < row_end; ++k) {
                const std::size_t j = i + 1 + (k - rows.start[r]);
                rows.verdict[k] = classified(c, i, j) ? known_verdict(c, pair_ratio(c, i, j)) : PairVerdict::unknown;
            }
        }
    });
}

bool ask_coset(PairClassifier& c, std::size_t i, std::size_t j, std::vector<CosetQuestion>& batch) {
    const std::uint32_t q = pair_ratio(c, i, j);
    if (stored(c, q) != UNKNOWN) return false;
    store(c, q, ASKED);
    batch.push_back({q, i, j});
    return true;
}

void ask_cosets_from(PairClassifier& c, std::size_t i, std::size_t j, std::size_t count, std::size_t limit,
                     std::vector<CosetQuestion>& batch) {
    batch.clear();
    std::size_t seen = 0;
    for (; i + 1 < count; ++i, j = i + 1) {
        for (; j < count; ++j) {
            if (classified(c, i, j)) ask_coset(c, i, j, batch);
            if (batch.size() >= limit || ++seen >= SCAN_LIMIT) return;
        }
    }
}

bool decide_cosets(WorkerPool& pool, PairClassifier& c, const std::vector<CosetQuestion>& batch) {
    try {
        return decide(pool, c, batch);
    } catch (const std::bad_alloc&) {
        give_up(c);
        return true;
    }
}

}  // namespace tapwell
