// grittlebox-torture: drives the built bundle with seeded random sequences of
// host calls from a processing thread and a user-interface thread at once,
// and fails on any check that does not hold, any exception out of the
// plug-in and any call that does not return.
//
//   grittlebox-torture [--steps N] [--seed S] [--timeout SECONDS] [--bundle PATH]
//
// The seed fixes each thread's sequence of calls; how the two threads
// interleave is up to the machine, so a finding may take a few runs of its
// seed to show again.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Target.h"
#include "Torture.h"

namespace {

int Usage(const char* why) {
  fprintf(stderr, "grittlebox-torture: %s\n", why);
  fprintf(stderr,
          "usage: grittlebox-torture [--steps N] [--seed S] [--timeout SECONDS] [--bundle PATH]\n");
  return 2;
}

bool ParseNumber(const char* text, uint64_t* value) {
  char* end = nullptr;
  if (!text || !*text || *text == '-') return false;
  *value = strtoull(text, &end, 10);
  return *end == 0;
}

} // namespace

int main(int argc, char** argv) {
  TortureOptions options;
  const char* fromEnvironment = getenv("GRITTLEBOX_BUNDLE");
  std::string bundle =
      fromEnvironment && *fromEnvironment ? fromEnvironment : GRITTLEBOX_BUILT_BUNDLE;
  for (int i = 1; i < argc; ++i) {
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    uint64_t number = 0;
    if (!strcmp(argv[i], "--steps") && ParseNumber(value, &number) && number > 0)
      options.steps = number;
    else if (!strcmp(argv[i], "--seed") && ParseNumber(value, &number))
      options.seed = number;
    else if (!strcmp(argv[i], "--timeout") && ParseNumber(value, &number) && number > 0)
      options.timeoutSeconds = static_cast<double>(number);
    else if (!strcmp(argv[i], "--bundle") && value)
      bundle = value;
    else
      return Usage((std::string("cannot read the option ") + argv[i]).c_str());
    ++i;
  }

  Target target;
  std::string error;
  if (!target.Open(bundle, &error)) return Usage(error.c_str());
  printf("torture: seed %llu, %llu steps, %s\n", static_cast<unsigned long long>(options.seed),
         static_cast<unsigned long long>(options.steps), bundle.c_str());
  fflush(stdout);

  Torture torture(&target, options);
  const auto start = std::chrono::steady_clock::now();
  const bool clean = torture.Run();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("torture: %llu steps in %.2f s (%.0f steps/s), %llu findings\n",
         static_cast<unsigned long long>(torture.StepsDone()), seconds,
         static_cast<double>(torture.StepsDone()) / (seconds > 0 ? seconds : 1),
         static_cast<unsigned long long>(torture.Found().Count()));
  if (torture.EditorOpens() > 0)
    printf("torture: the editor opened %d times\n", torture.EditorOpens());
  torture.Found().PrintSummary();
  if (!clean)
    fprintf(stderr, "torture: failed with seed %llu\n",
            static_cast<unsigned long long>(options.seed));
  return clean ? 0 : 1;
}
