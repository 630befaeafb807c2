#pragma once
// The tables the benchmark prints: every figure against its baseline and its
// goal, then each form's own figures.
#include "bench/figures.h"

#include <string>

namespace tuvrel::bench {

struct RunInfo {
    std::string platform;
    std::string qtVersion;
    std::string machine;
    std::string loadBefore;
    std::string loadAfter;
    double seconds = 0;
};

// Prints both tables; returns how many goals were not met.
int printReport(const RunInfo& info, const std::vector<FormFigures>& forms, const ProcessFigures& process);

}  // namespace tuvrel::bench
