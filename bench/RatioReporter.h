#pragma once
// The console report of Google Benchmark that also keeps each benchmark's
// real time per iteration, so a benchmark program can print the ratio of
// our code to its peer measured in the same run.
#include <benchmark/benchmark.h>
#include <map>
#include <string>

class TRatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& run : Runs) Times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(Runs);
  }
  // Peer time / our time: above 1 when ours is faster; 0 when either did not run.
  double SpeedRatio(const std::string& Ours, const std::string& Peer) const {
    const auto o = Times.find(Ours), p = Times.find(Peer);
    return o == Times.end() || p == Times.end() ? 0.0 : p->second / o->second;
  }
  std::map<std::string, double> Times;
};
