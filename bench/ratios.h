#pragma once

#include <string>

// A ratio the suite reports: the median time of one benchmark over the median time of its baseline, both
// measured in the same run. `goal` is the ratio the program should stay under (0 when it has none).
void reportRatio(const std::string &label, const std::string &benchmark, const std::string &baseline, double goal = 0);

// Runs every registered benchmark, then prints the table of ratios. Returns the number of goals missed.
int runBenchmarksAndReportRatios();
