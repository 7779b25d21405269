#pragma once
// What every benchmark shares: timing a piece of work, peak memory and the "name: value" lines.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// The fastest of `runs` runs of `work`, in milliseconds: the least disturbed measurement.
template <class F>
double bestMs(int runs, F&& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// The middle of the values: a measurement that one disturbed run does not move.
inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The value that `fraction` of the values do not exceed (nearest rank): 0.99 is the 99th
// percentile, which a single disturbance of the machine does not set as it sets the maximum.
inline double percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

inline double peakRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Put before every figure's name: bench/run passes "all_" to the runs over every poem.
inline std::string namePrefix;

inline void print(const char* name, double value) { std::printf("%s%s: %.3f\n", namePrefix.c_str(), name, value); }
inline void print(const char* name, int value) { std::printf("%s%s: %d\n", namePrefix.c_str(), name, value); }

// The folder that holds the collection's files: the first argument, else ./run.
inline std::string collectionFolder(int argc, char** argv) { return argc > 1 ? argv[1] : "run"; }

}  // namespace bench
