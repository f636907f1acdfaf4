#pragma once

#include <string>
#include <string_view>

namespace pelo::test {

// Absolute path of a file in tests/data.
inline std::string TestDataPath(std::string_view name) {
  return std::string(PELO_TEST_DATA_DIR) + "/" + std::string(name);
}

}  // namespace pelo::test
