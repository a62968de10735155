#pragma once
// The picture and its file: where 上書き保存 writes it, the question before a changed picture
// goes, and files dropped on the program.
#include <windows.h>
#include <shellapi.h>

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

// WM_DROPFILES on the frame, the document or the palette: the first file opens as 画像ロード
// would open it, in place of the open picture after the question. The drop is finished here.
void OpenDroppedFiles(HDROP drop);
