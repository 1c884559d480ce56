#include "trace/trace_request.h"

bool findsTheSame(const TraceRequest &shown, const TraceRequest &wanted)
{
    return shown.markers == wanted.markers && shown.settings.colourTolerance == wanted.settings.colourTolerance &&
           (shown.markers || shown.settings.stepPx == wanted.settings.stepPx);
}
