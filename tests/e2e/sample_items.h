#pragma once
// The menu items of the sample installation's data records, for tests that go over every
// function: each item that names a plug-in, and how ecor-run calls it as the function menu
// would.
#include <string>
#include <vector>

namespace corvan::e2e {

struct SampleItem {
    std::string record, plugin, id;
    // ecor-run's options for the item's plug-in on the sample installation (mode and
    // screens left to the caller).
    std::vector<std::string> ecorRunArgs() const;
    // The item's data record as parameter text.
    std::string recordText() const;
};

// Every such item of every record, records in directory order.
std::vector<SampleItem> sampleMenuItems();

}  // namespace corvan::e2e
