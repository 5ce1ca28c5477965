#include "ui/desktop.h"

#include "platform/console.h"

namespace vantor {

// The desktop window is not built yet; say so instead of doing nothing.
void RunDesktop(int, char**) {
    ConsoleWriteLine("The desktop window is not available yet; use the console options (vantor -h).");
}

}  // namespace vantor
