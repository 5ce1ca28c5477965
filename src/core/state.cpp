#include "core/state.h"

namespace vantor {

ConversionState& State() {
    static ConversionState state;
    return state;
}

InputListType& InputList() {
    static InputListType list;
    return list;
}

ProgressValues& Progress() {
    static ProgressValues progress;
    return progress;
}

void ResetProgress() {
    ProgressValues& p = Progress();
    {
        std::lock_guard<std::mutex> lock(p.ProgressLock);
        p.ProgressIndex = 0;
        p.ProgressFile.clear();
        p.ConvertedCount = 0;
    }
    p.KeepRunning = true;
}

void ResetStateForTests() {
    State() = ConversionState{};
    InputList().clear();
    ResetProgress();
}

}  // namespace vantor
