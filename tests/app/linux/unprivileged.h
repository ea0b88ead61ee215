// Part of a test run by a user whom mode bits stop: root reads and writes through them.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace melodane::testing {

// nobody when the test runs as root, else the user running it.
inline uid_t UnprivilegedUid() { return getuid() == 0 ? 65534 : getuid(); }

// Runs `run` in a child process as UnprivilegedUid(), who is given `tree` first; gives
// what the child wrote on stderr followed by the text `run` returned.
template <typename Run>
std::string Unprivileged(const std::filesystem::path& tree, Run run) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[1], 2);
    const uid_t uid = UnprivilegedUid();
    bool handed = lchown(tree.c_str(), uid, uid) == 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree)) {
      handed = handed && lchown(entry.path().c_str(), uid, uid) == 0;
    }
    if (getuid() == 0)
      handed = handed && setgroups(0, nullptr) == 0 && setgid(uid) == 0 && setuid(uid) == 0;
    const std::string result = handed ? run() : "could not become " + std::to_string(uid);
    if (write(2, result.data(), result.size()) < 0) _exit(1);
    _exit(0);
  }
  close(pipe_ends[1]);
  std::string text;
  char chunk[512];
  for (ssize_t got; (got = read(pipe_ends[0], chunk, sizeof chunk)) > 0;)
    text.append(chunk, static_cast<size_t>(got));
  close(pipe_ends[0]);
  waitpid(child, nullptr, 0);
  return text;
}

}  // namespace melodane::testing
