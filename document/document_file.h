#pragma once
// The picture and its file: where 上書き保存 writes it, and the question before a changed
// picture goes.
#include <windows.h>

// File > 上書き保存: writes the picture back to its file in that file's format, with no dialog.
// A picture without a file (a new sheet, a paste) asks for one as pngで保存 does. 1 when the
// picture has been written; a failure has been reported and the picture stays changed.
int SaveDocument();

// File > 保存 > a format: asks for a file name and writes the picture; the file written becomes
// the picture's file. 1 when it has been written.
int SaveDocumentAs(int saveFormat);

// Before the open picture goes (closed, replaced, or the program ends): when it is changed,
// asks whether to save it, in a message box owned by the frame. 1 to go on: nothing would be
// lost, the picture has been saved (はい), or the user said いいえ. 0 to stop and leave
// everything as it is: キャンセル or Esc, a save that did not happen, or a question already
// being asked.
int ConfirmDiscardChanges();
