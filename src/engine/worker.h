#pragma once
namespace vantor {
// Thread entry: converts every entry of the input list while KeepRunning is
// on, publishing ProgressIndex, ProgressFile and ConvertedCount. Returns 0.
int BatchWorker(void* unused);
}  // namespace vantor
