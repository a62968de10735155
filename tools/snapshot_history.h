#pragma once

// The palette's 戻す, 進む and 初期化.
void UndoStep();
void RedoStep();
void ResetCanvas();
