#include "export/save_image.h"

// Nothing can be open to save until documents exist.
void RunSaveCommand(int) {}
