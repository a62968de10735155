#pragma once
// The Spray tool: single-pixel dots in the primary colour at random places of sprayRect, a
// burst at every tick of the canvas window's timer and at every move of the stroke.

#include <windows.h>

// The canvas window's timer SPRAY_TIMER_ID is asked for every millisecond; the system ticks at
// its own smallest interval.
const UINT SprayTimerInterval = 1;

// At a Spray press, once the cursor point is mapped: the square around it and the timer. The
// press itself sprays nothing.
void StartSpray(HWND canvas);

// Moves sprayRect to the cursor point, as each move of the stroke does before its burst.
void MoveSprayRect();

// One burst: sprayStrength + 1 dots, each placed with the next two numbers of the run's one
// random sequence, the first for y and the second for x. Dots outside the surface are clipped
// away by GDI and still count.
void SprayBurst();

// Ends the spray: the timer stops. Harmless when it does not run.
void StopSpray(HWND canvas);
