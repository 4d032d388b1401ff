#pragma once
// One running instance per machine: a server on the local IPC channel under a fixed name. The
// channel is an abstract Unix socket, so an instance that died leaves nothing behind that could
// be mistaken for a running one.

#include <string>

namespace platform {

class SingleInstance {
public:
  SingleInstance() = default;
  ~SingleInstance(); // stops serving
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when a server named ServerName(identifier) already runs. Otherwise this object starts
  // serving that name until it goes, and the answer is false. Nothing is sent to a running
  // server, and nothing arriving at ours is read.
  bool AnotherInstanceRunning(const std::string& identifier);

  static std::string ServerName(const std::string& identifier) {
    return "tuniqueinstance_" + identifier;
  }

private:
  int socket_ = -1;
};

} // namespace platform
