#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace vantor {

void ConsoleOpen(const std::string& title) {
    if (isatty(STDOUT_FILENO)) {
        std::printf("\033]0;%s\007", title.c_str());
        std::fflush(stdout);
    }
}

void ConsoleWriteLine(const std::string& line) {
    std::fputs(line.empty() ? " " : line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ConsoleWaitKey() {
    std::fflush(stdout);
    termios saved {};
    bool tty = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (tty) {
        termios raw = saved;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    char c;
    (void)!read(STDIN_FILENO, &c, 1);
    if (tty) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

void ConsoleRelease() { std::fflush(stdout); }

}  // namespace vantor
