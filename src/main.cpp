// Program entry: shared state, image libraries, the single-instance lock,
// then the console face or the window face. The exit code is 0 on every path.
#include <IL/il.h>
#include <IL/ilu.h>

#include <string>
#include <vector>

#include "cli/run.h"
#include "core/product.h"
#include "core/state.h"
#include "core/strings.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "ui/desktop.h"

int main(int argc, char** argv) {
    using namespace vantor;
    LoadStringTable("");
    ilInit();
    iluInit();
    if (!ClaimInstanceLock(ProductTitle())) ExitSequence();  // another instance runs
    State().ProgramFolder = ExecutableFolder();

    std::vector<std::string> parameters(argv + 1, argv + argc);
    if (RunCommandLine(parameters)) RunDesktop(argc, argv);
    ExitSequence();
}
