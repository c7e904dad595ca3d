// Class, interface and type-library identifiers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tavrel::automation {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  bool operator==(const Guid&) const = default;

  // Registry form, e.g. "{9A162F68-C1A0-4424-8C94-440A82AA9D46}".
  std::string ToString() const;
};

}  // namespace tavrel::automation
