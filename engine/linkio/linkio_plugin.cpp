// linkio: the send/receive console the function menu opens for advanced users.
#include "engine/linkio/linkio_console.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::linkio::runConsole);
