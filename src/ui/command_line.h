#pragma once

#include <QString>
#include <QStringList>

// What the program was asked for when started: `zorvane [PICTURE]`, `--help`, `--version`.
struct CommandLine {
    QString picture; // absolute, against the folder the program was started in; empty when none was given
    QString output;  // to print instead of starting: help, version or what was wrong
    int exitCode = 0;
    [[nodiscard]] bool startsWindow() const { return output.isEmpty(); }
};

// `arguments` as the program received them, its own name first.
[[nodiscard]] CommandLine parseCommandLine(const QStringList &arguments);
