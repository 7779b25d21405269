#include "app/ReadingComfort.h"

#include "app/PoemZoom.h"
#include "app/sici.h"

void AddReadingComfort(Tfsici& window) { new PoemZoom(window.rc, &window); }
