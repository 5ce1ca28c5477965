#pragma once
namespace vantor {
// Runs the window face until its window closes.
void RunDesktop(int argc, char** argv);
}  // namespace vantor
