#include "base/temporary_name.h"

#include <random>

namespace tessara::base {

std::string TemporaryName() {
    static std::mt19937_64 rng{std::random_device{}()};
    return ".tessara-" + std::to_string(rng() % 1000000000u);
}

}  // namespace tessara::base
