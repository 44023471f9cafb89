#include "sim/airbag_models.h"
#include "sim/ecu_model.h"
#include "sim/immobilizer_models.h"
#include "sim/kw1281_unit.h"
#include "sim/kwp2000_model.h"
#include "sim/service_model.h"
#include "sim/signal_model.h"
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
    r.add("kwp2000", [](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        return Kwp2000Model::fromJson(config);
    });
    r.add("signals", [](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        return SignalModel::fromJson(config, builtinModels());
    });
    r.add("kw1281", [](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        return Kw1281Unit::fromJson(config);
    });
    r.add("service", [](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        return ServiceModel::fromJson(config);
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
