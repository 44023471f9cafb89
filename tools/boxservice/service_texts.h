#pragma once
// The box service program's texts. It speaks Spanish only, in every language.
#include <string_view>

namespace corvan::boxservice::text {

inline constexpr std::string_view kProgramTitle = "Test_KELM_ZUL";

// Service menu, in this order.
inline constexpr std::string_view kPerformance = "Prueba de rendimiento";
inline constexpr std::string_view kLoadDriver = "Load Driver";
inline constexpr std::string_view kResetDriver = "Reset Driver";
inline constexpr std::string_view kReadBluetooth = "Leer configuración Bluetooth";
inline constexpr std::string_view kPairBluetooth = "Emparejamiento Bluetooth";
inline constexpr std::string_view kLineTest = "Test canales";
inline constexpr std::string_view kObdTest = "Test OBDII";
inline constexpr std::string_view kRun = "Ejecutar";
inline constexpr std::string_view kLeave = "Salir";

// Configuration and port.
inline constexpr std::string_view kConfigMissing = "No es posible abrir fichero de configuración:";
inline constexpr std::string_view kPortError =
    "ERROR: no es posible abrir el puerto especificado.\nCompruebe que no esté siendo utilizado "
    "por otro programa\no que no esté mal configurado.";

// Bluetooth.
inline constexpr std::string_view kNoModuleAnswer =
    "No hay respuesta. Verifique alimentación y que el LED de conexión esté apagado";
inline constexpr std::string_view kPairingWarning =
    "ATENCION: para realizar el emparejamiento es necesario que los Bluetooth\n\rNO estén "
    "acualmente dialogando (el LED de conexión debe estar apagado)";
inline constexpr std::string_view kNoMode3 =
    "No es posible conmutar a modo 3. Asegúrese de que no está el LED azul encendido";
inline constexpr std::string_view kPreparing = "Preparando dispositivo...";
inline constexpr std::string_view kSearching = "Buscando. Alimentar los dispositivos ahora";
inline constexpr std::string_view kNoDevice =
    "No se ha encontrado ningún dispositivo en el radio de alcance";
inline constexpr std::string_view kCannotStopSearch = "No es posible interrumpir búsqueda";
inline constexpr std::string_view kNoMode2 = "No es posible regresar a modo 2";
inline constexpr std::string_view kPairingError = "Error en el proceso de emparejamiento";
inline constexpr std::string_view kPinPrompt = "Introduzca PIN (dejar en blanco si no necensario)";
inline constexpr std::string_view kPaired =
    "Emparejamiento efectuado.\n\rDespués de 5 segundos se enlazarán automáticamente";

// Performance test.
inline constexpr std::string_view kPerformanceTitle = "Prueba de transmisión";
inline constexpr std::string_view kTotalFrames = "Tramas totales recibidas:";
inline constexpr std::string_view kBadFrames = "Tramas erróneas recibidas:";
inline constexpr std::string_view kErrorRate = "Tasa de errores:";
inline constexpr std::string_view kResponseTime = "Tiempo de respuesta:";
inline constexpr std::string_view kMeanTime = "Tiempo medio de respuesta:";
inline constexpr std::string_view kSlowExchanges = "Lapsos superiores a 0.5 seg.:";

// Line-driver and OBD II tests.
inline constexpr std::string_view kDriverStartError = "Error en driver cargado";
inline constexpr std::string_view kNoVersion = "No es posible determinar versión de la BIOS";
inline constexpr std::string_view kNoObdAdapter = "Adaptador OBDII no encontrado";
inline constexpr std::string_view kAllLinesOff = "Apagando todos los canales";

// Driver download (the texts of this program's own; the download shows the box start-up's).
inline constexpr std::string_view kNoDrivers = "No se encuentra ningún driver (*.drv) en ";
inline constexpr std::string_view kDriverLoaded = "Driver cargado: ";

}  // namespace corvan::boxservice::text
