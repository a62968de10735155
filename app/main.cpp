#include <windows.h>

#include "app/startup.h"

// The program reads nothing from its start: the command line and show command are unused.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return RunFudemaru(instance);
}
