#pragma once
// The data folder of the installation: the value of "PATH=" in "iCor.cfg", which lies in the
// folder above the installation folder of the running engine ("...\EXE\ECOR.EXE").
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/module_context.h"
#include "runtime/text_table.h"

namespace corvan {

// The function menu's message when the file is missing.
inline constexpr std::string_view kConfigNotFoundFuncMenu = "iCor.cfg NOT FOUND";

// The other plug-ins' message.
inline constexpr TextTable kConfigNotFoundText = {
    "No es posible abrir fichero de configuración c:iCor.cfg",
    "Can´t open configuration file c:iCor.cfg",
    "Konfigurationsdatei c:\\iCor.cfg. kann nicht geöffnet werden.",
    "No es posible abrir fichero de configuración c:iCor.cfg",
    "Can´t open configuration file c:iCor.cfg",
    "NÃO É POSSIVEL ABRIR FICHEIRO DE CONFIGURAÇÃO C:\\iCor.cfg",
};

// The same message as some plug-ins spell it in English.
inline constexpr TextTable kConfigNotFoundTextColon = {
    kConfigNotFoundText[0], "Can´t open configuration file: c:\\iCor.cfg", kConfigNotFoundText[2],
    kConfigNotFoundText[3], "Can´t open configuration file: c:\\iCor.cfg", kConfigNotFoundText[5],
};

// Device path of the configuration file for the engine at `programPath`: upper-cased, cut
// before "\EXE\ECOR.EXE", cut before its last "\", then "\iCor.cfg". A program path without
// those parts leads to "\iCor.cfg" at the device root.
std::string configFileDevicePath(std::string_view programPath);

// The whole configuration file as UTF-8 text (it is Windows-1252 on the card), or nullopt
// when it cannot be read. Nothing is shown: callers that need the file say so themselves.
std::optional<std::string> readConfigText(const ModuleContext& ctx);

// The data path, or an empty text after showing `missingMessage` (OK box) when the file
// cannot be read.
std::string ReadDataPath(const ModuleContext& ctx, std::string_view missingMessage);
// The same with the standard message chosen by the context's language.
std::string ReadDataPath(const ModuleContext& ctx);

// Device path of a plug-in file named by the data: data path + "\DLL\" + name.
std::string pluginDevicePath(std::string_view dataPath, std::string_view fileName);

// The host file of that plug-in: the "DLL" folder under the data path mapped through the
// device root, the file found case-insensitively ("X.DLL" as "x.so"). nullopt for a name
// with a path separator or "..", and when no such file exists.
std::optional<std::filesystem::path> pluginHostPath(const ModuleContext& ctx,
                                                    std::string_view dataPath,
                                                    std::string_view fileName);

}  // namespace corvan
