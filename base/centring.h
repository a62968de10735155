#pragma once
#include "base/app_state.h"

// Where CenterWindow puts a window: centred on the desktop's right and bottom edges without
// subtracting its left and top, in integer arithmetic that truncates toward zero. A window
// wider than the desktop gets a negative x. The result keeps the window's size.
IntRect CentredWindowRect(IntRect desktop, IntRect window);
