// The coding plug-in: the function menu calls it for a VAG unit on the K line.
#include "plugins/vagcoding/coding_module.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::vagcoding::runCoding);
