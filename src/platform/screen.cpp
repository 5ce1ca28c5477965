#include "platform/screen.h"

namespace vantor {
namespace {
std::function<std::optional<ScreenSize>()>& Provider() {
    static std::function<std::optional<ScreenSize>()> provider;
    return provider;
}
}  // namespace

std::optional<ScreenSize> PrimaryScreenSize() {
    return Provider() ? Provider()() : std::nullopt;
}

void SetScreenSizeProvider(std::function<std::optional<ScreenSize>()> provider) {
    Provider() = std::move(provider);
}

}  // namespace vantor
