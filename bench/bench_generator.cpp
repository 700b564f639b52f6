// Builds many solution grids, each from its own seed, and prints the spread of
// the build time, passes and random draws per build.
//   bench_generator [builds=2000] [first seed=1]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "MemoryForm.h"

namespace {

// CPU time of this thread: what the build costs, whatever else the machine runs.
// Where the platform has no such clock, the row shows 0.
double ThreadCpuMs() {
#ifdef CLOCK_THREAD_CPUTIME_ID
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
#else
    return 0;
#endif
}

struct Sample {
    double ms, cpuMs;
    int passes;
    long draws;
};

template <typename T>
T Percentile(std::vector<T> v, double p) {
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

template <typename T>
void PrintRow(const char* name, const std::vector<T>& v, const char* fmt) {
    std::printf("%-14s", name);
    for (double p : {0.5, 0.9, 0.99, 1.0}) std::printf(fmt, static_cast<double>(Percentile(v, p)));
    double sum = 0;
    for (T x : v) sum += static_cast<double>(x);
    std::printf(fmt, sum / static_cast<double>(v.size()));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int builds = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int firstSeed = argc > 2 ? std::atoi(argv[2]) : 1;
    if (builds < 1) return 2;

    std::vector<Sample> samples;
    samples.reserve(static_cast<size_t>(builds));
    for (int i = 0; i < builds; ++i) {
        sudoku::memory::MemoryForm form;
        form.random.Seed(static_cast<float>(firstSeed + i) * 0.37f);
        const double c0 = ThreadCpuMs();
        const auto t0 = std::chrono::steady_clock::now();
        form.game.BuildSolutionGrid();
        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = ThreadCpuMs();
        samples.push_back(
            {std::chrono::duration<double, std::milli>(t1 - t0).count(), c1 - c0, form.pump.calls, form.random.draws});
    }

    std::vector<double> ms, cpuMs, mdraws;
    std::vector<int> passes;
    double totalMs = 0, totalDraws = 0;
    for (const Sample& s : samples) {
        ms.push_back(s.ms);
        cpuMs.push_back(s.cpuMs);
        passes.push_back(s.passes);
        mdraws.push_back(static_cast<double>(s.draws) / 1e6);
        totalMs += s.ms;
        totalDraws += static_cast<double>(s.draws);
    }
    std::printf("BuildSolutionGrid, %d builds (seeds %d..%d)\n", builds, firstSeed, firstSeed + builds - 1);
    std::printf("%-14s%10s%10s%10s%10s%10s\n", "", "median", "p90", "p99", "max", "mean");
    PrintRow("time ms", ms, "%10.2f");
    PrintRow("CPU ms", cpuMs, "%10.2f");
    PrintRow("passes", passes, "%10.0f");
    PrintRow("draws (M)", mdraws, "%10.2f");
    std::printf("ns per draw   %10.2f\n", totalMs * 1e6 / totalDraws);
    return 0;
}
