#pragma once
// A console reporter that also keeps each benchmark's CPU time per frame
// count (the median when there are repetitions), so that a benchmark program
// can print ratios between benchmarks measured in the same run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class MedianTimesReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (run.error_occurred || !(median || single)) continue;
      mTimes[run.run_name.function_name][std::stoi(run.run_name.args)] = run.GetAdjustedCPUTime();
    }
  }

protected:
  // The time of name at frames, 0 when it did not run.
  double Time(const std::string& name, int frames) const {
    auto it = mTimes.find(name);
    if (it == mTimes.end()) return 0;
    auto jt = it->second.find(frames);
    return jt == it->second.end() ? 0 : jt->second;
  }

private:
  std::map<std::string, std::map<int, double>> mTimes;
};
