#include "base/class_resources.h"

namespace {

WindowClassResources LoadWindowClassResources() {
    // The program's own group icon; when it cannot be loaded the class has none and the
    // system shows its default icon. The hollow brush keeps every class from painting a
    // background of its own.
    WindowClassResources resources;
    resources.icon = LoadIconW(GetModuleHandleW(nullptr), L"ID_MAINICON");
    resources.background = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return resources;
}

} // namespace

const WindowClassResources frameClassResources = LoadWindowClassResources();
const WindowClassResources documentClassResources = LoadWindowClassResources();
const WindowClassResources canvasClassResources = LoadWindowClassResources();
