#pragma once

#include <chrono>
#include <functional>
#include <string>

// The benchmark program's figures. Each bench/*.cpp registers its figures;
// the program runs each sample function several times and prints the median.
namespace Bench {

struct Figure {
    std::string group; // "playlist", "playback", ...
    std::string label; // what was measured
    std::string unit;  // of the value the sample returns
    std::function<double()> sample;
};

// Registers a figure; returns true so that it can initialise a static.
bool add(Figure figure);

// Seconds that work() takes, once.
template <class Work> double seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace Bench
