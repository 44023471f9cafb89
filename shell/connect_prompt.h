#pragma once
// The prompt before the engine starts on a vehicle: ignition on, and a box to tick when the
// Varbox did not answer last time (the engine then downloads its driver again).
#include <optional>
#include <string>

namespace corvan::shell {

struct ShellHost;
struct ShellSettings;

// The small connection picture of the prompt: "Imagenes\Conexiones\Small\" + the system's
// connection picture with its last 3 characters replaced by "bmp".
std::string smallConnectionPicture(const std::string& connectionPicture);

// Runs the prompt modally. The state of the check box on "SELECT"; nullopt on "CANCEL".
std::optional<bool> ConnectPrompt(ShellHost& host, const ShellSettings& settings,
                                  const std::string& connectionPicture);

}  // namespace corvan::shell
