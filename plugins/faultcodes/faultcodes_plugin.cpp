// The trouble-code plug-in: the function menu calls it with the position of its menu item;
// the trouble-code menu calls it with the mode "DEL" to erase.
#include "plugins/faultcodes/self_test.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::faultcodes::runFaultCodes);
