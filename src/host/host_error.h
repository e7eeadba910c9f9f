// The host's error: raised by ThrowError and by the host's own checks, carrying the message.
#pragma once

#include <stdexcept>
#include <string>

namespace velmire::host {

class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace velmire::host
