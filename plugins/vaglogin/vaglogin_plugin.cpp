// The login plug-in: channel adaptation and the service scripts call it for locked units.
#include "plugins/vaglogin/login_module.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::vaglogin::runLogin);
