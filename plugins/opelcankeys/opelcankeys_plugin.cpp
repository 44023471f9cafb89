// The Opel CAN key coding plug-in: the function menu calls it with the position of its item.
#include "plugins/opelcankeys/opel_can_keys.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::opelcankeys::runOpelCanKeys);
