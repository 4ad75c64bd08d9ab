#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// Order statistics of a series of timings, printed as one line.
struct BenchStats
{
    std::vector<double> samples; // microseconds

    double percentile(double p)
    {
        if (samples.empty())
            return 0;
        std::sort(samples.begin(), samples.end());
        const auto index = static_cast<std::size_t>(p / 100.0 * double(samples.size() - 1) + 0.5);
        return samples[std::min(index, samples.size() - 1)];
    }

    void print(const std::string& name, std::FILE* out = stdout)
    {
        const double median = percentile(50);
        std::fprintf(out, "%-58s n=%-7zu median %8.2f us   p95 %8.2f us   p99 %8.2f us\n", name.c_str(),
                     samples.size(), median, percentile(95), percentile(99));
        std::fflush(out);
    }
};
