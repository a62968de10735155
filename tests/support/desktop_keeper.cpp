// Keeps the test session's Wine desktop in use from the first Windows test to the last.
//
// Wine closes a desktop one second after the last process using it ends. Between two tests no
// process uses it, so every test started the desktop process anew, and that process inherits
// ctest's output pipe: ctest then waited out its one-second close after every test. Started
// once before the tests (the wine.start fixture), this process holds the desktop until the
// session's wineserver is shut down.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
