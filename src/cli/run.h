#pragma once
// The console face. Examines the parameters (program name excluded), does
// the console work they ask for, and tells whether the window face is to
// start instead: true only with no parameters, or with parameters that name
// no input and hold no error.
#include <string>
#include <vector>

namespace vantor {
[[nodiscard]] bool RunCommandLine(const std::vector<std::string>& parameters);
}  // namespace vantor
