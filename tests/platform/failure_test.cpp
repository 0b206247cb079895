#include "platform/failure.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Fails() { throw Failure(91, "Object variable not set"); }

// A procedure that leaves at its first failure: one try around the body.
std::vector<int> LeavingProcedure() {
    std::vector<int> ran;
    try {
        ran.push_back(1);
        Fails();
        ran.push_back(2);
    } catch (const Failure&) {
    }
    return ran;
}

TEST(Failure, CarriesNumberAndDescription) {
    try {
        Fails();
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), 91);
        EXPECT_EQ(failure.Description(), "Object variable not set");
    }
}

TEST(Failure, SkippedStatementLetsTheNextOneRun) {
    std::vector<int> ran;
    skip([&] { ran.push_back(1); });
    skip([&] {
        Fails();
        ran.push_back(99);
    });
    skip([&] { ran.push_back(std::vector<int>{}.at(3)); });
    skip([&] { ran.push_back(3); });
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

TEST(Failure, LeavingProcedureStopsAtTheFirstFailure) { EXPECT_EQ(LeavingProcedure(), (std::vector<int>{1})); }

TEST(Failure, UnhandledFailurePassesToTheCaller) { EXPECT_THROW(Fails(), Failure); }

TEST(Failure, AnyExceptionIsSeenAsAFailure) {
    const Failure fromIndex = AsFailure(std::make_exception_ptr(std::out_of_range("index")));
    EXPECT_EQ(fromIndex.Number(), failure_number::SubscriptOutOfRange);
    const Failure kept = AsFailure(std::make_exception_ptr(Failure(42, "own")));
    EXPECT_EQ(kept.Number(), 42);
    EXPECT_EQ(kept.Description(), "own");
}

TEST(Failure, HandlersStopTheGamesFailuresAndLetAProgramEndPass) {
    EXPECT_TRUE(IsFailure(std::make_exception_ptr(Failure(91, "Object variable not set"))));
    EXPECT_TRUE(IsFailure(std::make_exception_ptr(std::out_of_range("index"))));
    EXPECT_TRUE(IsFailure(std::make_exception_ptr(std::bad_alloc())));
    EXPECT_FALSE(IsFailure(std::make_exception_ptr(std::runtime_error("the program ends"))));
}

}  // namespace
