// SHA-256 of a byte string, as hex: the digests of the output tables, which must agree on
// every machine and processor the filter is built for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmire::testing {

class Sha256 {
 public:
  Sha256();
  void Add(const void* data, std::size_t size);
  std::string HexDigest();  // ends the hash

 private:
  void Block(const std::uint8_t* block);

  std::uint32_t state_[8];
  std::uint8_t buffer_[64];
  std::size_t buffered_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace velmire::testing
