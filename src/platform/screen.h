#pragma once
// Size of the primary screen. Without a display it is unknown; the desktop
// face installs a provider once its QApplication exists.
#include <functional>
#include <optional>

namespace vantor {

struct ScreenSize {
    int width = 0;
    int height = 0;
};
std::optional<ScreenSize> PrimaryScreenSize();
void SetScreenSizeProvider(std::function<std::optional<ScreenSize>()> provider);

}  // namespace vantor
