#pragma once
#include <windows.h>

// The program's keys (the accelerator table "IDR_KEYS": Ctrl+N, O, S, Z, Y, Shift+Z, C, V)
// and Ctrl+F4, in whichever of the program's windows is active: the frame with its document
// and canvas, or the palette. Each becomes the frame's menu command.

// Loads the keys and hooks the message loops of dialogs: the palette's modal loop runs the
// program and translates no keys of its own.
void InstallProgramKeys(HINSTANCE instance);

// 1 when the message is one of the program's keys and has been carried out; the loop then
// neither translates nor dispatches it. Keys typed into other dialogs (the paper dialog, the
// file dialogs, message boxes) stay theirs, as do Ctrl+Z, C, V, X and A in the palette's edit
// boxes, and nothing is carried out while the frame is disabled by a dialog it owns.
int TranslateProgramKey(MSG* message);
