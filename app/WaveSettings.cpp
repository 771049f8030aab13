// The one application object; the framework's WinMain runs it.
#include "app/WaveSettingsApp.h"

CWaveSettingsApp g_app;
