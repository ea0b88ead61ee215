// A JACK server of the test's own, with its dummy backend, that the test can kill and
// start again. Every JACK client of the process finds it.
#pragma once

#include <jack/jack.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

class PrivateJackServer {
 public:
  PrivateJackServer() {
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    Start();
  }
  ~PrivateJackServer() {
    Kill();
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm")) {
      if (entry.path().filename().string().find("_" + name_ + "_") != std::string::npos) {
        std::filesystem::remove(entry.path());
      }
    }
  }

  // True once clients can connect.
  bool Start() {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("jackd", "jackd", "-n", name_.c_str(), "--no-realtime", "-d", "dummy", "-p", "256",
             nullptr);
      _exit(127);
    }
    for (int i = 0; i < 150; ++i) {
      if (jack_client_t* client = jack_client_open("probe", JackNoStartServer, nullptr)) {
        jack_client_close(client);
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // Ends the server as a crash would for its clients. A server killed outright would
  // keep its slot in JACK's registry of servers, which has eight.
  void Kill() {
    if (Signal(SIGTERM) && Signal(SIGCONT)) waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  bool Signal(int signal) const { return pid_ > 0 && kill(pid_, signal) == 0; }

 private:
  std::string name_ = "melodane-unit-" + std::to_string(getpid());
  pid_t pid_ = -1;
};

// Waits up to ten seconds for the condition.
template <typename Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 200; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}
