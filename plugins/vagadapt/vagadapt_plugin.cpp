// The channel adaptation plug-in: the function menu calls it for a VAG unit on the K line.
#include "plugins/vagadapt/adaptation_module.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::vagadapt::runAdaptation);
