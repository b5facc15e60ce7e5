// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-process throughput of kavelin-convert on the sample text repeated to
// about 7.5 MB, from start to exit, reading standard input and writing to
// /dev/null.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

const std::string& input() {
  static const std::string path = [] {
    std::ifstream in(KAVELIN_CORPUS, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text;
    while (text.size() < 7500000) text += s.str();
    const std::string p =
        (std::filesystem::temp_directory_path() / "kavelin-convert-bench.txt").string();
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }();
  return path;
}

void run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input().c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
}

void BM_ConvertProcess(benchmark::State& state, const std::vector<std::string>& args) {
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(input()));
  for (auto _ : state) run(args);
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK_CAPTURE(BM_ConvertProcess, glyphs_utf8, {KAVELIN_CONVERT})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ConvertProcess, glyphs_cp1252, {KAVELIN_CONVERT, "--encoding", "cp1252"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ConvertProcess, unicode, {KAVELIN_CONVERT, "--to", "unicode"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// A plain byte-table pass over the same file, for scale.
BENCHMARK_CAPTURE(BM_ConvertProcess, tr, {"/usr/bin/tr", "a-z", "A-Z"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
