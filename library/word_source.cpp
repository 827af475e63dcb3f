// Ring: library. See word_source.h.
#include "library/word_source.h"

#include "core/bit_words.h"
#include "core/shift_register.h"
#include "library/poly_conversion.h"
#include "library/register_check.h"
#include "tapwell/errors.hpp"
#include "tapwell/registers.hpp"

namespace tapwell {

WordSource::WordSource(const BitSource& source, std::uint64_t skip, bool msb_first)
    : invert_(source.inverted ? ~std::uint64_t{0} : 0), msb_first_(msb_first) {
    if (source.registers.empty()) throw InvalidArgument("a stream needs at least one register");
    for (const Register& reg : source.registers) {
        check_register(reg);
        const PolyWord w = word_of(reg.polynomial);
        const std::uint64_t taps = taps_of64(w.value, top_of(w));
        Part part;
        part.tables = std::make_unique<WordTables>();
        build_word_tables(*part.tables, taps, w.degree, reg.form, false);
        part.state = jumped(reg, skip).state;
        if (SparseStream::suits(taps, w.degree)) {
            std::vector<std::uint64_t> history(SparseStream::history_words(taps, w.degree));
            fill_words(*part.tables, part.state, history.data(), history.size(), 0, false);
            // Alone, it makes the words in their final order and inversion.
            const bool alone = source.registers.size() == 1;
            part.sparse = std::make_unique<SparseStream>(taps, w.degree, std::move(history), alone && msb_first,
                                                         alone ? invert_ : 0);
            part.tables.reset();
        }
        parts_.push_back(std::move(part));
    }
}

void WordSource::fill(std::span<std::uint64_t> words) {
    if (parts_.size() == 1 && parts_[0].sparse) {
        parts_[0].sparse->fill(words.data(), words.size());
        return;
    }
    if (parts_.size() > 1 && sum_.size() < words.size()) sum_.resize(words.size());
    for (std::size_t r = 0; r < parts_.size(); ++r) {
        std::uint64_t* into = r == 0 ? words.data() : sum_.data();
        Part& part = parts_[r];
        if (part.sparse) {
            part.sparse->fill(into, words.size());
        } else {
            fill_words(*part.tables, part.state, into, words.size(), 0, false);
        }
        if (r != 0) {
            for (std::size_t i = 0; i < words.size(); ++i) words[i] ^= sum_[i];
        }
    }
    if (msb_first_) {
        for (std::uint64_t& w : words) w = bits_reversed_in_bytes(w) ^ invert_;
    } else if (invert_ != 0) {
        for (std::uint64_t& w : words) w ^= invert_;
    }
}

}  // namespace tapwell
