#pragma once
namespace vantor {
// Starts a new job: ProgramFolder again, per-job values emptied, name
// counters restarted, input list emptied, accepted extensions rebuilt.
void ResetJob();
}  // namespace vantor
