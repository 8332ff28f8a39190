#include "sound/CommandThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

// A command stuck on a sound server that stopped answering: the program
// still ends, after the grace and well under a second.
TEST(CommandThread, EndsWithinItsGraceWhileACommandIsStuck) {
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    const auto before = std::chrono::steady_clock::now();
    {
        CommandThread commands;
        commands.give([answered] { answered.wait(); });
        commands.give([] {});
    }
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(900));
    answer.set_value(); // the left thread finishes on its own
}

} // namespace
