#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Dravix {

// The median of a series of measurements and its spread, the machine's noise.
struct Figures
{
    double median = 0;
    double min = 0;
    double max = 0;

    static Figures of(std::vector<double> values)
    {
        Figures figures;
        if (values.empty())
            return figures;
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        figures.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
        figures.min = values.front();
        figures.max = values.back();
        return figures;
    }

    // "<label>: median <m> <unit> (noise: min <a>, max <b>, n runs)"
    void print(const char *label, const char *unit, std::size_t runs) const
    {
        std::printf("  %-44s median %10.3f %s  (noise: min %.3f, max %.3f; %zu runs)\n", label,
                    median, unit, min, max, runs);
    }
};

} // namespace Dravix
