// The trouble-code display: the function menu calls it with the position of its menu item.
#include "plugins/dtcview/dtc_view.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::dtcview::runDtcView);
