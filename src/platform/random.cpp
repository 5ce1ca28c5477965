#include "platform/random.h"

#include <mutex>
#include <random>

namespace vantor {
namespace {
std::mutex gMutex;
std::mt19937& Engine() {
    static std::mt19937 engine{std::random_device{}()};
    return engine;
}
}  // namespace

int32_t RandomInt(int32_t low, int32_t high) {
    std::lock_guard<std::mutex> lock(gMutex);
    return std::uniform_int_distribution<int32_t>(low, high)(Engine());
}

}  // namespace vantor
