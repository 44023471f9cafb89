// The PSA airbag coding plug-in: the function menu calls it with the position of its item.
#include "plugins/psasrs/psa_srs.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::psasrs::runPsaSrs);
