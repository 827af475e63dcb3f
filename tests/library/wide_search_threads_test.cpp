// Ring: tests. The search on 64-bit words shares its blocks among its pool's
// threads: whatever the threads, and with two searches at once, the finds
// are the same, and a stop from another thread ends it.
#include <gtest/gtest.h>

#include <chrono>
#include <stop_token>
#include <thread>
#include <vector>

#include "tapwell/tapwell.hpp"

namespace tapwell {
namespace {

TEST(WideSearchThreads, SameFindsWhateverTheThreadsAndTwoAtOnce) {
    const PrimitiveSearch every{Polynomial::from_value(std::uint64_t{1} << 63), 300};
    const PrimitiveSearch pentanomials{Polynomial::from_value(std::uint64_t{1} << 47), 200, std::nullopt, 5};
    const std::vector<Polynomial> alone_e = primitive_polynomials(every, {.threads = 1});
    const std::vector<Polynomial> alone_p = primitive_polynomials(pentanomials, {.threads = 1});
    for (int threads : {2, 3}) {
        std::vector<Polynomial> e, p;
        std::thread other([&] { p = primitive_polynomials(pentanomials, {.threads = threads}); });
        e = primitive_polynomials(every, {.threads = threads});
        other.join();
        EXPECT_EQ(e, alone_e) << threads;
        EXPECT_EQ(p, alone_p) << threads;
    }
}

TEST(WideSearchThreads, AStopFromAnotherThreadEndsIt) {
    std::stop_source source;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        source.request_stop();
    });
    // Far more finds than 50 ms give.
    const PrimitiveSearch endless{Polynomial::from_value(std::uint64_t{1} << 63), 100000000};
    EXPECT_THROW(primitive_polynomials(endless, {.stop = source.get_token(), .threads = 2}), Stopped);
    stopper.join();
}

}  // namespace
}  // namespace tapwell
