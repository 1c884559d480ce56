#pragma once

// Whole-process measurements: a child process's wall time and peak resident memory, seen from outside.

// When the suite was started as one of its own probe children, does that job and returns its exit code;
// otherwise returns -1.
int runProbeIfAsked(int argc, char **argv);

// Registers the whole-process benchmarks (the program and a minimal Qt program under Xvfb, and picture
// loads in probe children). `self` is this executable, started again for the probes.
void registerProcessBenchmarks(const char *self);

// Prints the peak memory of every whole-process benchmark run so far, with its goal.
void printPeakMemoryTable();
