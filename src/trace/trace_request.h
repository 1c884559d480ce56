#pragma once

#include "trace/line_trace.h"

// What a trace is asked for: a line or the markers, with the settings.
struct TraceRequest {
    bool markers = false;
    TraceSettings settings;
};

// Whether what `shown` found is what `wanted` would find on the same picture and pick: marker mode reads no
// step, so a new step traces again only a line.
[[nodiscard]] bool findsTheSame(const TraceRequest &shown, const TraceRequest &wanted);
