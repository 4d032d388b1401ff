#include "SingleInstance.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

SingleInstance::~SingleInstance() {
  if (socket_ >= 0)
    ::close(socket_);
}

bool SingleInstance::AnotherInstanceRunning(const std::string& identifier) {
  if (socket_ >= 0)
    return false; // this object already serves
  const std::string name = ServerName(identifier);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (name.size() + 1 > sizeof address.sun_path)
    return false;
  // Abstract name: a leading zero byte, then the name (not zero-terminated).
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  const socklen_t length =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false; // no channel to check with: let this instance run
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
    const int error = errno;
    ::close(fd);
    return error == EADDRINUSE;
  }
  ::listen(fd, 4);
  socket_ = fd;
  return false;
}

} // namespace platform
