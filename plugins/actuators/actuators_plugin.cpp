// The actuator test plug-in: the function menu calls it with the position of its menu item.
#include "plugins/actuators/actuator_test.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::actuators::runActuators);
