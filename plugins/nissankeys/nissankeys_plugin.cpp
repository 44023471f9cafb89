// The Nissan key coding plug-in: the function menu calls it with the position of its item.
#include "plugins/nissankeys/nissan_keys.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::nissankeys::runNissanKeys);
