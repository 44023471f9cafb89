#pragma once
// The parts of a scenario file, each read from its node (used by the loader).
#include "sim/ecu_model.h"
#include "sim/json_node.h"
#include "sim/scenario.h"

namespace corvan::sim {

bool readBox(const JsonNode& box, BoxConfig& b);
bool readTiming(const JsonNode& node, TimingConfig& t);
bool readEcus(const JsonNode& list, const EcuModelRegistry& models, std::vector<SimEcu>& out);
bool readFaults(const JsonNode& list, std::vector<Fault>& out);
// "connectedEcu": an index, an ECU name, or null for none.
bool readConnectedEcu(const JsonNode& box, const std::vector<SimEcu>& ecus, int& out);
// "bluetooth": the terminal's Bluetooth serial module; absent leaves `out` empty.
bool readBluetooth(const JsonNode& node, std::optional<BluetoothConfig>& out);

}  // namespace corvan::sim
