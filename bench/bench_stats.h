// Summaries of measured samples, printed one figure a line as "<label>: <value> <unit>" so that
// the benchmark runner can gather them into the results table.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

struct Sample_Summary {
  std::size_t Count = 0;
  double Mean = 0;
  double Median = 0;
  double P99 = 0;
  double Max = 0;
};

// Nearest-rank percentiles: the 99th of 100 samples is the 99th smallest, never an average.
inline Sample_Summary Summarise(std::vector<double> samples) {
  Sample_Summary s;
  s.Count = samples.size();
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  auto rank = [&](double p) {
    const auto k = static_cast<std::size_t>(std::ceil(p * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(k, 1, samples.size()) - 1];
  };
  s.Mean = std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(s.Count);
  s.Median = rank(0.5);
  s.P99 = rank(0.99);
  s.Max = samples.back();
  return s;
}

inline void Print_Figure(const std::string& label, double value, const char* unit) {
  std::printf("%s: %.3f %s\n", label.c_str(), value, unit);
  std::fflush(stdout);
}
