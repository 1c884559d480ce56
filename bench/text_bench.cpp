#include "state/chart_format.h"
#include "state/text_value.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void formatChartValueBench(benchmark::State &state, const QString &pattern)
{
    double value = -1234.56789;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatChartValue(value, pattern));
        value += 0.001;
    }
}

void textValueBench(benchmark::State &state, const QString &text)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(textValue(text));
    }
}

const QString kLongText = u"  -"_s + QString(151, u'1') + u"."_s + QString(40, u'5') + u"E-120"_s;

} // namespace

BENCHMARK_CAPTURE(formatChartValueBench, fixed1, u"0.0"_s);
BENCHMARK_CAPTURE(formatChartValueBench, fixed2, u"0.00"_s);
BENCHMARK_CAPTURE(formatChartValueBench, fixed4, u"0.0000"_s);
BENCHMARK_CAPTURE(formatChartValueBench, scientific, u"0.000E+00"_s);

BENCHMARK_CAPTURE(textValueBench, decimal, u"12.35"_s);
BENCHMARK_CAPTURE(textValueBench, blanksAndExponent, u"  -1.5E+03"_s);
BENCHMARK_CAPTURE(textValueBench, hexadecimal, u"&HFF"_s);
BENCHMARK_CAPTURE(textValueBench, longText, kLongText);
