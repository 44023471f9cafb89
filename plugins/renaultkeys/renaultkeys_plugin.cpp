// The Renault key coding plug-in: the function menu calls it with the position of its item.
#include "plugins/renaultkeys/renault_keys.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::renaultkeys::runRenaultKeys);
