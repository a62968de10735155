#pragma once
#include <windows.h>

// The common save dialog for one save command. Returns the full path of the chosen file, kept
// in a buffer that lives for the run (the next dialog starts with it); or null when the dialog
// was cancelled or failed, after telling the user "キャンセルしました".
const wchar_t* AskSaveFileName(HWND owner, const wchar_t* title, int saveFormat);
