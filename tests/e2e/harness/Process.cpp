#include "Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace pelorin::e2e {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& added) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    const std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const auto& extra : added) replaced = replaced || extra.substr(0, extra.find('=')) == name;
    if (!replaced) merged.push_back(text);
  }
  merged.insert(merged.end(), added.begin(), added.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

Process::Process(const std::vector<std::string>& argv, const ProcessOptions& options) {
  int inputPipe[2] = {-1, -1};
  int outputPipe[2] = {-1, -1};
  if (options.pipeInput && pipe2(inputPipe, O_CLOEXEC) != 0) return;
  if (options.pipeOutput && pipe2(outputPipe, O_CLOEXEC) != 0) return;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.pipeInput) posix_spawn_file_actions_adddup2(&actions, inputPipe[0], 0);
  if (options.pipeOutput) posix_spawn_file_actions_adddup2(&actions, outputPipe[1], 1);
  if (!options.workingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);

  std::vector<std::string> arguments = argv;
  std::vector<std::string> environment = MergedEnvironment(options.environment);
  auto argumentPointers = Pointers(arguments);
  auto environmentPointers = Pointers(environment);
  if (posix_spawnp(&pid_, argv[0].c_str(), &actions, &attributes, argumentPointers.data(),
                   environmentPointers.data()) != 0)
    pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);

  if (options.pipeInput) {
    close(inputPipe[0]);
    input_ = inputPipe[1];
  }
  if (options.pipeOutput) {
    close(outputPipe[1]);
    output_ = outputPipe[0];
  }
}

Process::Process(Process&& other) noexcept
    : pid_(other.pid_), input_(other.input_), output_(other.output_),
      buffered_(std::move(other.buffered_)), exitCode_(other.exitCode_) {
  other.pid_ = -1;
  other.input_ = -1;
  other.output_ = -1;
}

Process::~Process() {
  Kill();
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

bool Process::Running() {
  if (pid_ <= 0 || exitCode_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  return true;
}

std::optional<int> Process::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (Running()) {
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return exitCode_;
}

void Process::Kill() {
  if (!Running()) return;
  kill(-pid_, SIGKILL);
  Wait(std::chrono::seconds(5));
}

void Process::WriteLine(const std::string& line) {
  const std::string text = line + "\n";
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(input_, text.data() + written, text.size() - written);
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

std::optional<std::string> Process::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const std::size_t end = buffered_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd descriptor{output_, POLLIN, 0};
    if (poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    const ssize_t n = read(output_, chunk, sizeof(chunk));
    if (n <= 0) return std::nullopt;
    buffered_.append(chunk, static_cast<std::size_t>(n));
  }
}

RunResult Run(const std::vector<std::string>& argv, const ProcessOptions& options,
              std::chrono::milliseconds timeout) {
  ProcessOptions piped = options;
  piped.pipeOutput = true;
  Process process(argv, piped);
  RunResult result{-1, ""};
  if (!process.Started()) return result;
  const auto deadline = Clock::now() + timeout;
  while (auto line = process.ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(
             deadline - Clock::now()))) {
    result.output += *line + "\n";
  }
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  result.exitCode = process.Wait(std::max(left, std::chrono::milliseconds(0))).value_or(-1);
  return result;
}

}  // namespace pelorin::e2e
