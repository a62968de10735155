#include "tools/snapshot_history.h"

// There is no canvas to copy onto yet.
void UndoStep() {}
void RedoStep() {}
void ResetCanvas() {}
