// The Renault airbag plug-in: the function menu calls it with the position of its item.
#include "plugins/renaultsrs/renault_srs.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::renaultsrs::runRenaultSrs);
