// The live-data plug-in: the function menu calls it with the position of its menu item.
#include "plugins/livedata/livedata.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::livedata::runLiveData);
