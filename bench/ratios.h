#pragma once

#include <string>
#include <vector>

// A ratio the suite reports: the median time of one benchmark over the median time of its baseline, both
// measured in the same run. `goal` is the ratio the program should stay under (0 when it has none).
void reportRatio(const std::string &label, const std::string &benchmark, const std::string &baseline, double goal = 0);

// Runs every registered benchmark and returns the rows of the table of ratios, one per ratio whose two
// benchmarks ran; a row whose goal was missed ends in "!".
[[nodiscard]] std::vector<std::string> runBenchmarksAndRateThem();
[[nodiscard]] std::string ratioTableHeader();
