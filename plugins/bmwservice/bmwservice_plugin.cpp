// The BMW service-reset plug-in.
#include "plugins/bmwservice/bmw_reset.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::bmwservice::runBmwService);
