#pragma once

#include "bench/Bench.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace Bench {

struct Label {
    std::string label;
    std::string unit;
};

// Several figures from one measurement that yields a value for each: the
// first figure runs it, and every figure prints its own value of the same
// runs, so that figures measured together (a cost and its CPU time, two ways
// of doing the same work and their ratio) stay together.
inline void addFromOneRun(const std::string& group, const std::vector<Label>& labels,
                          std::function<std::vector<double>()> measure) {
    auto values = std::make_shared<std::vector<std::deque<double>>>(labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        add({group, labels[i].label, labels[i].unit, [values, measure, i] {
                 if (i == 0) {
                     const std::vector<double> run = measure();
                     for (std::size_t j = 0; j < values->size(); ++j)
                         (*values)[j].push_back(run.at(j));
                 }
                 const double value = (*values)[i].front();
                 (*values)[i].pop_front();
                 return value;
             }});
    }
}

} // namespace Bench
