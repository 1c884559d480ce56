#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The rows of the suite's two closing tables: ratios, and peak memory.
struct Tables {
    std::vector<std::string> ratios;
    std::vector<std::string> memory;
};

// Prints both tables, each under its header, and returns the number of goals missed.
int printTables(const Tables &tables);
// Adds the rows to those kept in `folder` by the groups run before.
void keepTables(const Tables &tables, const QString &folder);

// Runs the whole suite with each group of benchmarks (the part of a name before its first '/') in a process of
// its own, so that one group's pictures and memory leave the next group's timings alone, with `passOn` as
// further arguments. The groups share `folder` for their generated pictures and their tables, and the tables
// of all groups are printed together at the end. Returns the number of goals missed.
int runEachGroupInItsOwnProcess(const QString &self, const QStringList &passOn, const QString &folder);
