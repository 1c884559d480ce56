#include "trace/trace_request.h"

#include <gtest/gtest.h>

TEST(TraceRequest, ANewStepTracesAgainOnlyALine)
{
    const auto request = [](bool markers, int tolerance, double step) {
        return TraceRequest{markers, TraceSettings{tolerance, step}};
    };
    const struct {
        const char *name;
        TraceRequest shown, wanted;
        bool same;
    } cases[] = {
        {"a line, unchanged", request(false, 40, 10), request(false, 40, 10), true},
        {"a line, a new step", request(false, 40, 10), request(false, 40, 20), false},
        {"markers, a new step", request(true, 40, 10), request(true, 40, 20), true},
        {"markers, a new tolerance", request(true, 40, 10), request(true, 60, 10), false},
        {"a line, a new tolerance", request(false, 40, 10), request(false, 39, 10), false},
        {"from markers to a line", request(true, 40, 10), request(false, 40, 10), false},
        {"from a line to markers", request(false, 40, 10), request(true, 40, 10), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(findsTheSame(c.shown, c.wanted), c.same) << c.name;
}
