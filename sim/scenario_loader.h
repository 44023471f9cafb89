#pragma once
// Scenario files (JSON; the format is described in docs/simulator.md). Loading never
// throws: a bad file gives an error text naming the file and the place in it, as
// "engine.json: /ecus/0/config/rules/2/request: bad hex digit at character 5 of \"1A 8G\"".
#include <optional>
#include <string>
#include <string_view>

#include "sim/ecu_model.h"
#include "sim/scenario.h"

namespace corvan::sim {

struct LoadResult {
    std::optional<Scenario> scenario;
    std::string error;
    bool ok() const { return scenario.has_value(); }
};

LoadResult loadScenarioFile(const std::string& path,
                            const EcuModelRegistry& models = builtinModels());
// `source` names the text in error messages.
LoadResult loadScenarioText(std::string_view text, const std::string& source,
                            const EcuModelRegistry& models = builtinModels());

}  // namespace corvan::sim
