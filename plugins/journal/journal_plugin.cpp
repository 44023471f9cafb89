// The journal screen: the function menu offers it when the configuration switches it on.
#include "plugins/journal/journal_screen.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::journal::runJournal);
