// The measuring-channel plug-in: the function menu calls it with the position of its menu
// item, which holds the block template and the descriptions of the groups.
#include "plugins/vagchannels/channel_reader.h"
#include "runtime/plugin_entry.h"

CORVAN_PLUGIN(corvan::vagchannels::runChannelReader);
