#include "sim/airbag_models.h"
#include "sim/ecu_model.h"
#include "sim/immobilizer_models.h"
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
    r.add("renault-immobilizer", [](const JsonNode& c) -> std::unique_ptr<EcuModel> {
        return RenaultImmobilizer::fromJson(c);
    });
    r.add("nissan-immobilizer", [](const JsonNode& c) -> std::unique_ptr<EcuModel> {
        return NissanImmobilizer::fromJson(c);
    });
    r.add("opel-can-immobilizer", [](const JsonNode& c) -> std::unique_ptr<EcuModel> {
        return OpelCanImmobilizer::fromJson(c);
    });
    r.add("renault-airbag", [](const JsonNode& c) -> std::unique_ptr<EcuModel> {
        return RenaultAirbag::fromJson(c);
    });
    r.add("psa-airbag",
          [](const JsonNode& c) -> std::unique_ptr<EcuModel> { return PsaAirbag::fromJson(c); });
    return r;
}

}  // namespace corvan::sim
