#pragma once

#include <algorithm>
#include <vector>

#include <benchmark/benchmark.h>

// Every benchmark of the suite reports its median with the spread of its repetitions.
namespace Mesures {

inline double minimum(const std::vector<double> &valeurs)
{
    return valeurs.empty() ? 0 : *std::min_element(valeurs.begin(), valeurs.end());
}

inline double maximum(const std::vector<double> &valeurs)
{
    return valeurs.empty() ? 0 : *std::max_element(valeurs.begin(), valeurs.end());
}

inline void appliquer(benchmark::internal::Benchmark *banc)
{
    banc->Unit(benchmark::kMicrosecond)
        ->ComputeStatistics("min", minimum)
        ->ComputeStatistics("max", maximum);
}

} // namespace Mesures
