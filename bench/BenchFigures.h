#pragma once

// The figures the timing benchmarks print.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace brindle::bench {

// The value below which the share p (0–1) of the values lie.
inline double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

inline double ms(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double largest(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

} // namespace brindle::bench
