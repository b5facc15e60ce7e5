// SPDX-License-Identifier: GPL-3.0-or-later
// Running the built programs in tests: a folder of files for each case, and
// a program run on an input with its output and errors captured.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kavelin::test {

namespace fs = std::filesystem;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Environment variables for the child: a value, or nullptr to unset it.
using Environment = std::vector<std::pair<std::string, const char*>>;

// Runs `program` on `input`; with `stdoutPath`, its standard output goes to
// that file instead of being captured.
inline Result runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "", const char* stdoutPath = nullptr,
                         const Environment& env = {}) {
  // A child that exits before reading all its input must fail the case, not
  // kill the test with SIGPIPE.
  static const bool ignored = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)ignored;
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0), dup2(out[1], 1), dup2(err[1], 2);
    if (stdoutPath) {
      const int fd = open(stdoutPath, O_WRONLY);
      if (fd < 0) _exit(126);
      dup2(fd, 1);
      close(fd);
    }
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    for (const auto& [name, value] : env) {
      value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
    }
    std::vector<char*> argv;
    std::string path = program;
    argv.push_back(path.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]), close(out[1]), close(err[1]);
  std::thread writer([fd = in[1], &input] {
    std::size_t done = 0;
    while (done < input.size()) {
      const ssize_t n = write(fd, input.data() + done, input.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    close(fd);
  });
  Result result;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    poll(fds, 2, -1);
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      }
    }
  }
  writer.join();
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

#ifdef KAVELIN_CONVERT
// Runs the converter.
inline Result run(const std::vector<std::string>& args, const std::string& input = "",
                  const char* stdoutPath = nullptr) {
  return runProgram(KAVELIN_CONVERT, args, input, stdoutPath);
}
#endif

inline std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A fresh folder for each case, removed after it.
class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kavelin-cli-" + std::to_string(getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  fs::path dir_;
};

}  // namespace kavelin::test
