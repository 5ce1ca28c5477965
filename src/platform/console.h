#pragma once
// The console of the command-line face: standard output, a line at a time.
#include <string>

namespace vantor {

void ConsoleOpen(const std::string& title);  // sets the terminal title when on a tty
// Writes one line; an empty line is written as a line holding one space.
void ConsoleWriteLine(const std::string& line);
void ConsoleWaitKey();                        // reads one byte of standard input
void ConsoleRelease();

}  // namespace vantor
