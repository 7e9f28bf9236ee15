// The five listings over synthetic logs of 10 000, 100 000 and 1 000 000 lines, scanning the whole
// log (ALLDISP on), through the real add-in module, the substitute host and the simulated tree;
// next to a baseline that reads every line once through the same host interface and looks for
// "＞READ NEW" in it. bench/report.py turns the figures into ns per line and ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/host_abi.h"
#include "base/pane_commands.h"
#include "bench/synthetic_log.h"
#include "host/addin_module.h"
#include "host/substitute_host.h"
#include "platform/desktop.h"
#include "res/texts.h"

namespace {

const std::string& LogBytes(std::size_t lines) {
  static std::map<std::size_t, std::string> logs;
  auto found = logs.find(lines);
  if (found == logs.end()) found = logs.emplace(lines, bench::MakeSessionLog(lines)).first;
  return found->second;
}

// A host holding the log, with the add-in attached and activated once (no view stored, so the
// activation lists nothing); each listing is then run by its menu command.
struct Session {
  explicit Session(std::size_t lines)
      : host(host::LogStore(LogBytes(lines)), "bench.log", [](const std::vector<std::string>&) {}),
        addin(host::DefaultAddinPath()) {
    const std::filesystem::path profiles = std::filesystem::temp_directory_path() / "mailzolka-bench";
    std::filesystem::create_directories(profiles);
    desktop::SetProfileDirectory(profiles.string());
    desktop::WritePrivateProfileString("SYSTEM", "PREVMODE", "7", "QORMAIL.INI");
    desktop::WritePrivateProfileString("SYSTEM", "ALLDISP", "1", "QORMAIL.INI");
    addin.GiveInterface(&host);
    host.SendToPane(qor::kActivationNotice, 1, 0);
  }
  ~Session() { addin.GiveInterface(&host); }

  host::SubstituteHost host;
  host::AddinModule addin;
};

void SetLineCounters(benchmark::State& state, std::size_t lines) {
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["lines_per_second"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
}

void Baseline(benchmark::State& state) {
  const auto lines = static_cast<std::size_t>(state.range(0));
  Session session(lines);
  qor::LogBuffer* log = session.host.GetLogBuffer();
  const std::string_view readNew = res::kReadNew;
  for (auto _ : state) {
    std::size_t found = 0;
    log->MoveFirst();
    for (;;) {
      found += std::string_view(log->GetLine() + 1).find(readNew) != std::string_view::npos;
      const qor::LinePosition before = log->CurrentLine;
      log->Move(1);
      if (log->CurrentLine == before) break;
    }
    benchmark::DoNotOptimize(found);
  }
  SetLineCounters(state, lines);
}

void Listing(benchmark::State& state) {
  const auto lines = static_cast<std::size_t>(state.range(0));
  const int view = static_cast<int>(state.range(1));
  Session session(lines);
  for (auto _ : state) session.host.SendToPane(qor::kWmCommand, qor::ViewCommand(view), 0);
  SetLineCounters(state, lines);
}

void Sizes(benchmark::internal::Benchmark* bench) {
  for (long lines : {10000L, 100000L, 1000000L}) bench->Args({lines});
}

void SizesAndViews(benchmark::internal::Benchmark* bench) {
  for (long view = 1; view <= 5; ++view) {
    for (long lines : {10000L, 100000L, 1000000L}) bench->Args({lines, view});
  }
}

BENCHMARK(Baseline)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(Listing)->Apply(SizesAndViews)->Unit(benchmark::kMillisecond);

// --memory VIEW: for the listing over the 1 000 000-line log, how far the process's peak resident set
// rises above what it was with the log loaded and the add-in attached.
long StatusKib(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  }
  return -1;
}

// One view per process, so that memory freed by an earlier run cannot hide this one's.
int MemoryReport(int view) {
  constexpr std::size_t kLines = 1000000;
  Session session(kLines);
  const long before = StatusKib("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
  session.host.SendToPane(qor::kWmCommand, qor::ViewCommand(view), 0);
  std::printf("view %d over %zu lines (%zu KiB of log, %ld KiB resident with it loaded): peak %ld KiB above that\n",
              view, kLines, LogBytes(kLines).size() / 1024, before, StatusKib("VmHWM:") - before);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--memory") == 0) return MemoryReport(std::atoi(argv[2]));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
