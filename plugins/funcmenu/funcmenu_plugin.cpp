// The function menu plug-in: the engine calls it with the data block of the chosen ECU.
#include "plugins/funcmenu/function_menu.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::funcmenu::runFunctionMenu);
