#include "panel/PanelFontsHolder.h"

#include "controls/PanelFont.h"

CPanelFontsHolder::CPanelFontsHolder() { CreatePanelFonts(); }
