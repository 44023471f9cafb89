// The identification plug-in: the function menu calls it with the position of its menu item.
#include "plugins/identify/identification.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::identify::runIdentify);
