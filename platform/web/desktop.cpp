// The page: the browser is the display, always there; the page's title is the game's name.
#include "desktop.h"

namespace desktop {

bool compat() { return false; }
bool prepare() { return true; }
void explainFailure() {}

}  // namespace desktop
