#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows the busy pointer over every window of the program while it lives, for work that can take longer than
// about 100 ms (a large picture's decode). Restored however the work ends; give warnings after it has gone.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};
