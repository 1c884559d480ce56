#pragma once

#include <QString>

#include <string>
#include <vector>

// Whole-process measurements: a child process's wall time and peak resident memory, seen from outside.

// When the suite was started as one of its own probe children, does that job and returns its exit code;
// otherwise returns -1.
int runProbeIfAsked(int argc, char **argv);

// Registers the whole-process benchmarks (the program and a minimal Qt program under Xvfb, and picture
// loads in probe children). `self` is this executable, started again for the probes. With `previous`, the
// program of an earlier build, its start-up is measured too and the program is held to it.
void registerProcessBenchmarks(const char *self, const QString &previous);

// The rows of the table of peak memory, one per goal whose whole-process benchmarks ran; a row whose goal was
// missed ends in "!".
[[nodiscard]] std::vector<std::string> peakMemoryRows();
[[nodiscard]] std::string peakMemoryTableHeader();
