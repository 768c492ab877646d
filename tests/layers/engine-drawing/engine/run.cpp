// An engine that draws its own progress: what the layers refuse.
#include "ui/progress_dlg.h"
