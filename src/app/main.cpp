// The program's one application object, constructed before the entry point runs.
#include "app/setup_app.h"

static CSetupApp TheSetupApp;
