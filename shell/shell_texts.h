#pragma once
// The shell's own texts. Six-slot tables follow the technician's language; the file and
// program errors exist in Spanish only and are shown so in every language.
#include <string_view>

#include "shell/language_text.h"

namespace corvan::shell::text {

// Titles of the visible list column of each page.
inline constexpr LanguageText kOptionsTitle = texts("OPCIONES", "OPTIONS", "OPTIONEN", "OPÇÕES");
inline constexpr LanguageText kUtilitiesTitle =
    texts("UTILIDADES", "UTILITIES", "GERÄT", "UTILIDADES");
inline constexpr LanguageText kBrandsTitle = texts("MARCAS", "BRANDS", "MARKEN", "MARCAS");
inline constexpr LanguageText kModelsTitle = texts("MODELOS", "MODELS", "MODELLE", "MODELOS");
inline constexpr LanguageText kSystemsTitle = texts("SISTEMAS", "SYSTEMS", "SYSTEME", "SISTEMAS");
inline constexpr LanguageText kVariantsTitle =
    texts("VARIANTES", "VARIANTS", "VARIANTEN", "VARIANTES");

// The word the "SIMULADOR" menu entry of the command bar is relabelled to.
inline constexpr std::string_view kSimulationEntry = "SIMULADOR";
inline constexpr LanguageText kSimulationWord =
    texts("SIMULACION", "SIMULATION", "SIMULATIONA", "SIMULAÇÃO");
inline constexpr LanguageText kSimulationWarning =
    texts("ATENCION: Modo SIMULADOR activado.", "WARNING: SIMULATION mode activated.",
          "ACHTUNG: SIMULATIONA-Modus aktiviert", "Atenção: Modo SIMULADOR ativado.");

// Options dialog.
inline constexpr LanguageText kLanguageLabel =
    texts("Idioma:", "Language:", "Sprache:", "Linguagem");
inline constexpr LanguageText kFolderLabel = texts("Carpeta:", "Folder:", "Arbeitsmappe:", "Icon:");
inline constexpr LanguageText kPortLabel = texts("Puerto:", "Port:", "Schnittstelle:", "Porta:");
inline constexpr LanguageText kApplyQuestion =
    texts("Se van a modificar datos de configuración \r\n ¿Desea continuar?",
          "You have modified the configuration \r\n Do you want to apply this changes?",
          "Die Konfiguration wurde geändert \r\n Möchten Sie die Änderungen übernehmen?",
          "A configuração foi modificada \r\n Deseja aplicar as alterações?");

// Connect prompt.
inline constexpr LanguageText kIgnitionPrompt =
    texts("Ponga contacto y pulse Aceptar", "Turn on ignition and press OK",
          "Schalten Zündung und drücken O.K.", "Ligue a ignição e prima Aceitar");
inline constexpr LanguageText kReloadDriverCheck =
    texts("Marcar si no hay respuesta del Varbox", "Check if no response from Varbox",
          "Markieren wenn Keine Antwort von Varbox", "Marcar quando não há resposta da Varbox");

// About box.
inline constexpr LanguageText kVersionWord = texts("Versión", "Version", "Version", "Versão");

// Spanish only.
inline constexpr std::string_view kRootFileError = "ERROR: no es posible abrir fichero de OPCIONES";
inline constexpr std::string_view kUtilitiesFileError =
    "ERROR: no es posible abrir fichero de Utiles";
inline constexpr std::string_view kBrandFileError = "ERROR: no es posible abrir fichero de MARCAS";
inline constexpr std::string_view kVehicleFileError = "ERROR: no es posible abrir fichero de ";
inline constexpr std::string_view kNoMemory =
    "No hay suficiente memoria.\n Libere memoria cerrando otros programas";
inline constexpr std::string_view kEngineMissing = "No se encuentra la aplicación eCor.exe";
inline constexpr std::string_view kBoxTestMissing =
    "No se encuentra la aplicación TEST_KELM_ZUL.EXE";
inline constexpr std::string_view kCalibrationMissing =
    "No se encuentra la aplicación CALIBRATE.EXE";
inline constexpr std::string_view kDevconfigMissing = "No se encuentra la aplicación DEVCONFIG.EXE";
inline constexpr std::string_view kDocumentError = "No es posible abrir el documento ";
inline constexpr std::string_view kNewsError = "No es posible abrir el documento de NOVEDADES";

// Labels of the bitmap buttons.
inline constexpr std::string_view kSelect = "SELECT";
inline constexpr std::string_view kCancel = "CANCEL";

}  // namespace corvan::shell::text
