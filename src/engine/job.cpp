#include "engine/job.h"

#include "core/state.h"
#include "engine/naming.h"
#include "formats/catalogue.h"
#include "platform/files.h"

namespace vantor {

void ResetJob() {
    ConversionState& s = State();
    s.ProgramFolder = ExecutableFolder();
    s.CommandLineInput = false;
    s.OptionsStartPage = 0;
    s.InterfaceRefresh = 0;
    ResetNameCounters();
    s.InputExtension.clear();
    s.CurrentInput.clear();
    s.InputFolder.clear();
    s.RelativeSubfolder.clear();
    s.OutputPath.clear();
    s.TemporaryPath.clear();
    s.OutputFolder.clear();
    s.OutputExtension.clear();
    s.SourceBpp = 0;
    s.OutputBpp = 0;
    s.AutoOutputBpp = false;
    InputList().clear();
    BuildInputExtensions();
}

}  // namespace vantor
