// Ring: jobs. See cross_correlation.h.
#include "jobs/cross_correlation.h"

#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "core/shift_register.h"
#include "jobs/job_control.h"
#include "jobs/job_frame.h"
#include "jobs/line_builder.h"
#include "jobs/shared_state.h"
#include "jobs/system_texts.h"
#include "library/correlation.h"
#include "runtime/log_stream.h"
#include "runtime/worker_pool.h"

namespace tapwell {

namespace {

constexpr std::uint32_t DISPLAY_CAP = 70;

// The head of a phase's line, "dt=<phase>, r= ", whose digits are counted up
// in place: cheaper than converting each of millions of consecutive numbers
// anew, and one fixed-size copy per line.
struct PhaseHead {
    // Room for the longest head (10 digits) and padding, so that a copy of
    // SIZE bytes may read past the head's end.
    static constexpr std::size_t SIZE = 32;
    char text[SIZE] = {};
    std::size_t size = 0;  // of the head
    std::size_t digits = 0;

    explicit PhaseHead(std::uint32_t start = 0) {
        constexpr std::size_t PHASE_SIZE = texts::PHASE.size();
        std::memcpy(text, texts::PHASE.data(), PHASE_SIZE);
        char* end = std::to_chars(text + PHASE_SIZE, text + SIZE, start).ptr;
        digits = static_cast<std::size_t>(end - text) - PHASE_SIZE;
        end_head();
    }
    void next() {
        std::size_t i = texts::PHASE.size() + digits;
        while (i > texts::PHASE.size() && text[i - 1] == '9') text[--i] = '0';
        if (i > texts::PHASE.size()) {
            ++text[i - 1];
        } else {  // 9...9 became 10...0: a digit more
            text[i] = '1';
            text[texts::PHASE.size() + digits] = '0';
            ++digits;
            end_head();
        }
    }

private:
    void end_head() {
        const std::size_t at = texts::PHASE.size() + digits;
        std::memcpy(text + at, texts::PHASE_VALUE.data(), texts::PHASE_VALUE.size());
        size = at + texts::PHASE_VALUE.size();
    }
};

// "dt=%u, r= %d" of one phase at `at` (room for 48 bytes); returns its end,
// before the line feed.
char* put_phase(char* at, const PhaseHead& head, std::int64_t r) {
    std::memcpy(at, head.text, PhaseHead::SIZE);  // the head and some padding, overwritten next
    return std::to_chars(at + head.size, at + 47, r).ptr;
}

std::uint64_t distance_from_minus_one(std::int64_t r) {
    const std::int64_t r1 = r + 1;
    return static_cast<std::uint64_t>(r1 < 0 ? -r1 : r1);
}

// Phases per piece of text formatted on a thread of the pool (about 700 KiB),
// and the room a piece's text may need.
constexpr std::uint32_t PHASES_PER_PIECE = 1u << 15;
constexpr std::size_t LINE_ROOM = 48;
// Writes queued at the log's writer (a megabyte each) beyond which the job's
// thread leaves the formatting to the others.
constexpr std::uint32_t STEP_ASIDE_BACKLOG = 8;

// One piece's lines and its share of the sum, formatted off the job's thread.
struct PhaseText {
    std::unique_ptr<char[]> text{new (std::nothrow) char[PHASES_PER_PIECE * LINE_ROOM]};
    std::size_t size = 0;
    std::uint64_t sum = 0;
};

// Pieces for the helpers of the pool; none (every line on the job's thread)
// with one thread or when their memory is not to be had.
std::vector<PhaseText> phase_pieces(const WorkerPool& pool) {
    std::vector<PhaseText> pieces;
    const std::size_t wanted = pool.size() == 1 ? 0 : 4 * static_cast<std::size_t>(pool.size());
    for (std::size_t k = 0; k < wanted; ++k) {
        pieces.emplace_back();
        if (pieces.back().text == nullptr) return {};
    }
    return pieces;
}

template <typename T>
void format_piece(PhaseText& piece, const T* values, std::uint32_t first_dt, std::uint32_t count) {
    PhaseHead dt(first_dt);
    char* at = piece.text.get();
    std::uint64_t sum = 0;
    for (std::uint32_t i = 0; i < count; ++i, dt.next()) {
        at = put_phase(at, dt, values[i]);
        *at++ = '\n';
        sum += distance_from_minus_one(values[i]);
    }
    piece.size = static_cast<std::size_t>(at - piece.text.get());
    piece.sum = sum;
}

// The lines of values[from, to) of a chunk, whose first phase is dt, in
// phase order. The first lines (the display cap) go one by one on the job's
// thread; with pieces for helpers, the rest is formatted in pieces on the
// pool and appended in order. False when stopped.
template <typename T>
bool log_phases(FrontEnd& front_end, WorkerPool& pool, const T* values, std::size_t from, std::size_t to,
                std::uint32_t& dt, std::uint64_t& sum, std::vector<PhaseText>& pieces) {
    PhaseHead dt_text(dt);
    std::size_t l = from;
    for (; l < to && (pieces.empty() || dt <= DISPLAY_CAP); ++l, ++dt, dt_text.next()) {
        if (stop_pending()) return false;
        sum += distance_from_minus_one(values[l]);
        char* at = log_reserve(LINE_ROOM);
        char* end = put_phase(at, dt_text, values[l]);
        if (dt <= DISPLAY_CAP) {
            show_item(front_end, dt, DISPLAY_CAP, {at, static_cast<std::size_t>(end - at)}, texts::NOTE_CORRELATION);
        }
        *end++ = '\n';
        log_commit(end);
        found_count.store(dt + 1, std::memory_order_relaxed);
    }
    if (l == to) return true;
    // Every thread of the pool formats the next piece not yet taken into a
    // free slot of the ring, then appends to the log whatever pieces are
    // ready, in order; so the appending of one piece overlaps the formatting
    // of the next ones. The log is written under the lock, by one thread at a
    // time.
    const std::size_t first = l;
    const std::uint32_t first_dt = dt;
    const std::size_t total = (to - first + PHASES_PER_PIECE - 1) / PHASES_PER_PIECE;
    const std::size_t ring = pieces.size();
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::condition_variable appended_one;
    std::size_t appended = 0;
    std::vector<bool> ready(ring, false);
    bool stopped = false;
    const std::thread::id job_thread = std::this_thread::get_id();
    pool.for_each(static_cast<std::size_t>(pool.size()), [&](std::size_t) {
        for (;;) {
            // While the log's writer is far behind, the job's thread steps
            // aside: where no core is to spare, the writer then has this one
            // instead of sharing another, and the job does not end up waiting
            // for it with a core idle.
            if (std::this_thread::get_id() == job_thread) {
                log_step_aside(STEP_ASIDE_BACKLOG,
                               [&] { return next.load(std::memory_order_relaxed) < total && !stop_pending(); });
            }
            const std::size_t p = next.fetch_add(1, std::memory_order_relaxed);
            if (p >= total) return;
            {
                std::unique_lock hold(lock);
                appended_one.wait(hold, [&] { return stopped || appended + ring > p; });
                if (stopped) return;
            }
            if (stop_pending()) {
                std::lock_guard hold(lock);
                stopped = true;
                appended_one.notify_all();
                return;
            }
            const std::size_t from = first + p * PHASES_PER_PIECE;
            const std::size_t count = to - from < PHASES_PER_PIECE ? to - from : PHASES_PER_PIECE;
            format_piece(pieces[p % ring], values + from, first_dt + static_cast<std::uint32_t>(p * PHASES_PER_PIECE),
                         static_cast<std::uint32_t>(count));
            std::lock_guard hold(lock);
            ready[p % ring] = true;
            while (!stopped && appended < total && ready[appended % ring]) {
                const PhaseText& piece = pieces[appended % ring];
                log_write({piece.text.get(), piece.size});
                sum += piece.sum;
                ready[appended % ring] = false;
                ++appended;
                const std::size_t done = appended == total ? to - first : appended * PHASES_PER_PIECE;
                found_count.store(first_dt + static_cast<std::uint32_t>(done), std::memory_order_relaxed);
            }
            appended_one.notify_all();
        }
    });
    dt = first_dt + static_cast<std::uint32_t>(to - first);
    return !stopped && !stop_pending();
}

// The job's sink: every value's line in phase order.
class PhaseLines final : public PhaseValueSink {
public:
    explicit PhaseLines(FrontEnd& front_end) : front_end_(front_end) {}
    bool take(WorkerPool& pool, std::uint32_t first_dt, const std::int32_t* values, std::size_t count) override {
        return lines(pool, first_dt, values, count);
    }
    bool take(WorkerPool& pool, std::uint32_t first_dt, const std::int64_t* values, std::size_t count) override {
        return lines(pool, first_dt, values, count);
    }
    std::uint64_t sum() const { return sum_; }

private:
    template <typename T>
    bool lines(WorkerPool& pool, std::uint32_t first_dt, const T* values, std::size_t count) {
        // The pieces suit the run's pool, which the first chunk brings.
        if (!pieces_made_) pieces_ = phase_pieces(pool);
        pieces_made_ = true;
        std::uint32_t dt = first_dt;
        return log_phases(front_end_, pool, values, 0, count, dt, sum_, pieces_);
    }
    FrontEnd& front_end_;
    std::vector<PhaseText> pieces_;
    bool pieces_made_ = false;
    // |r + 1| is at most 2^n per phase, so the total stays below 2^64 even at
    // degree 32; it is printed whole rather than wrapped to 32 bits.
    std::uint64_t sum_ = 0;
};

}  // namespace

CorrelationInput read_correlation_input(std::string_view list) {
    CorrelationInput input;
    parse_register_list(input.bank, list, 2);
    return input;
}

JobOutcome correlate_pair(FrontEnd& front_end) {
    return run_correlation(front_end, read_correlation_input(text_slot(SLOT_POLY_LIST)));
}

JobOutcome run_correlation(FrontEnd& front_end, const CorrelationInput& input) {
    begin_job(front_end);
    const RegisterBank& bank = input.bank;
    const ShiftRegister& a = bank.registers[0];
    const ShiftRegister& b = bank.registers[1];
    if (a.top == 0 || b.top == 0 || a.degree != b.degree) return reject_parameters(front_end);

    LineBuilder line;
    log_write_line(line.text(texts::REGISTER_A).polynomial(a.poly).view());
    log_write_line(line.clear().text(texts::REGISTER_B).polynomial(b.poly).view());
    found_count.store(0, std::memory_order_relaxed);
    work_total.store((std::uint64_t{1} << a.degree) - 1u, std::memory_order_relaxed);

    PhaseLines sink(front_end);
    const RunEnd end = correlate_phases({a.degree, a.taps, b.taps}, {job_stop_token(), job_threads()}, sink);
    if (end == RunEnd::stopped || stop_pending()) return JobOutcome::stopped;
    line.clear().text(texts::CORRELATION_COMPLETED).number(sink.sum()).text("\n");
    return close_job(front_end, line.view());
}

}  // namespace tapwell
