// Ring: tests. Computations keep nothing of the process: different ones run
// at once on threads of one process give what each gives alone.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "tapwell/tapwell.hpp"

namespace tapwell {
namespace {

TEST(ConcurrentRuns, EachGivesWhatItGivesAlone) {
    const Polynomial a = Polynomial::parse("1000000000000100111"), b = Polynomial::parse("1000000000001010011");
    const std::vector<Polynomial> list = primitive_polynomials(9);
    const Generation gold{GenerationMode::gold, 7, 20000, {{a, 1}, {b, 5}}};

    // Each with two threads of its own, all at once, twice over.
    const RunOptions two{.threads = 2};
    const auto correlation = [&] { return correlate_all_phases(a, b, two); };
    const auto search = [&] { return primitive_polynomials(17, two); };
    const auto pairs = [&] { return preferred_pairs(list, 0, two); };
    const auto values = [&] { return generate(gold, two); };
    const auto alone_r = correlation();
    const auto alone_s = search();
    const auto alone_p = pairs();
    const auto alone_v = values();

    for (int round = 0; round < 2; ++round) {
        decltype(correlation()) r;
        decltype(search()) s;
        decltype(pairs()) p;
        decltype(values()) v;
        std::vector<std::thread> threads;
        threads.emplace_back([&] { r = correlation(); });
        threads.emplace_back([&] { s = search(); });
        threads.emplace_back([&] { p = pairs(); });
        threads.emplace_back([&] { v = values(); });
        for (std::thread& t : threads) t.join();
        EXPECT_EQ(r, alone_r);
        EXPECT_EQ(s, alone_s);
        EXPECT_EQ(p, alone_p);
        EXPECT_EQ(v, alone_v);
    }
}

TEST(ConcurrentRuns, StoppingOneLeavesTheOtherWhole) {
    const std::vector<Polynomial> alone = primitive_polynomials(16);
    std::stop_source stop;
    bool stopped = false;
    std::thread long_one([&] {
        try {
            // The whole of degree 32 takes half a minute: it is stopped long before.
            for_each_primitive({Polynomial::from_value(std::uint64_t{1} << 31)},
                               [](std::span<const Polynomial>) { return true; },
                               {.stop = stop.get_token(), .threads = 1});
        } catch (const Stopped&) {
            stopped = true;
        }
    });
    const std::vector<Polynomial> found = primitive_polynomials(16, {.threads = 1});
    stop.request_stop();
    long_one.join();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(found, alone);
}

}  // namespace
}  // namespace tapwell
