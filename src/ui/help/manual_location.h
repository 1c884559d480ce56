#pragma once

#include <QString>
#include <QStringList>

inline constexpr char16_t kManualFileName[] = u"zorvane-Tessarix.pdf";

// The first of the folders that holds the manual, as a full path; empty when none does.
[[nodiscard]] QString findManual(const QStringList &folders);
