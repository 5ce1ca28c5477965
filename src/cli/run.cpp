#include "cli/run.h"

namespace vantor {
// Placeholder until the console face lands.
bool RunCommandLine(const std::vector<std::string>& parameters) { return parameters.empty(); }
}  // namespace vantor
