#include "sim/ecu_model.h"
#include "sim/service_model.h"
#include "sim/table_model.h"

namespace corvan::sim {

std::vector<std::string> EcuModelRegistry::names() const {
    std::vector<std::string> n;
    for (const auto& [name, factory] : factories_) n.push_back(name);
    return n;
}

EcuModelRegistry builtinModels() {
    EcuModelRegistry r;
    r.add("table", [](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        return TableModel::fromJson(config);
    });
    r.add("service", [](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        return ServiceModel::fromJson(config);
    });
    return r;
}

}  // namespace corvan::sim
