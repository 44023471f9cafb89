#pragma once
// The session report's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English
// again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::engine::report_texts {

inline constexpr TextTable kTitle = {
    "Informe de la sesión de diagnóstico",
    "Diagnosis session report",
    "Bericht der Diagnosesitzung",
    "Informe de la sesión de diagnóstico",
    "Diagnosis session report",
    "Relatório da sessão de diagnóstico",
};
inline constexpr TextTable kWorkshop = {"Taller", "Workshop", "Werkstatt",
                                        "Taller", "Workshop", "Oficina"};
inline constexpr TextTable kVehicle = {"Vehículo", "Vehicle", "Fahrzeug",
                                       "Vehículo", "Vehicle", "Veículo"};
inline constexpr TextTable kRecord = {"Fichero de datos", "Data record", "Datensatz",
                                      "Fichero de datos", "Data record", "Ficheiro de dados"};
inline constexpr TextTable kStarted = {"Inicio de la sesión", "Session started",
                                       "Sitzungsbeginn",      "Inicio de la sesión",
                                       "Session started",     "Início da sessão"};
inline constexpr TextTable kWritten = {"Informe emitido", "Report written", "Bericht erstellt",
                                       "Informe emitido", "Report written", "Relatório emitido"};
// A demonstration's report must not pass for a vehicle's.
inline constexpr TextTable kDemoNotice = {
    "Demostración: ningún vehículo conectado, valores simulados",
    "Demonstration: no vehicle connected, simulated values",
    "Demonstration: kein Fahrzeug angeschlossen, simulierte Werte",
    "Demostración: ningún vehículo conectado, valores simulados",
    "Demonstration: no vehicle connected, simulated values",
    "Demonstração: nenhum veículo ligado, valores simulados",
};
inline constexpr TextTable kTime = {"Hora", "Time", "Uhrzeit", "Hora", "Time", "Hora"};

// Section headings by their head.
inline constexpr TextTable kSystemSection = {
    "Información del sistema", "System information", "Systeminformation",
    "Información del sistema", "System information", "Informação do sistema",
};
inline constexpr TextTable kIdentificationSection = {
    "Identificación", "Identification", "Identifizierung",
    "Identificación", "Identification", "Identificação",
};
inline constexpr TextTable kCodesSection = {
    "Códigos de avería", "Trouble codes", "Fehlercodes",
    "Códigos de avería", "Trouble codes", "Códigos de avaria",
};
inline constexpr TextTable kEraseSection = {
    "Borrado de códigos de avería", "Erase of the trouble codes", "Löschen der Fehlercodes",
    "Borrado de códigos de avería", "Erase of the trouble codes", "Apagar códigos de avaria",
};

inline constexpr TextTable kDescription = {"Descripción", "Description", "Beschreibung",
                                           "Descripción", "Description", "Descrição"};
inline constexpr TextTable kValue = {"Valor", "Value", "Wert", "Valor", "Value", "Valor"};
inline constexpr TextTable kCode = {"Código", "Code", "Code", "Código", "Code", "Código"};
inline constexpr TextTable kNoCodes = {
    "Sin códigos de avería", "No trouble codes", "Keine Fehlercodes",
    "Sin códigos de avería", "No trouble codes", "Sem códigos de avaria",
};
inline constexpr TextTable kCodesBefore = {
    "Códigos antes del borrado", "Codes before the erase", "Codes vor dem Löschen",
    "Códigos antes del borrado", "Codes before the erase", "Códigos antes de apagar",
};
inline constexpr TextTable kCodesAfter = {
    "Códigos después del borrado", "Codes after the erase", "Codes nach dem Löschen",
    "Códigos después del borrado", "Codes after the erase", "Códigos depois de apagar",
};
inline constexpr TextTable kNotRead = {
    "No leídos en esta sesión", "Not read in this session", "In dieser Sitzung nicht gelesen",
    "No leídos en esta sesión", "Not read in this session", "Não lidos nesta sessão",
};
inline constexpr TextTable kErased = {"Códigos borrados", "Codes erased", "Codes gelöscht",
                                      "Códigos borrados", "Codes erased", "Códigos apagados"};
inline constexpr TextTable kNotErased = {
    "La unidad no borró los códigos",
    "The unit did not erase its codes",
    "Das Steuergerät hat die Codes nicht gelöscht",
    "La unidad no borró los códigos",
    "The unit did not erase its codes",
    "A unidade não apagou os códigos",
};

inline constexpr TextTable kJournalSection = {
    "Escrituras en el vehículo", "Writes to the vehicle", "Schreibvorgänge am Fahrzeug",
    "Escrituras en el vehículo", "Writes to the vehicle", "Escritas no veículo",
};
inline constexpr TextTable kNoWrites = {
    "Ninguna escritura en el vehículo en esta sesión",
    "No writes to the vehicle in this session",
    "Keine Schreibvorgänge am Fahrzeug in dieser Sitzung",
    "Ninguna escritura en el vehículo en esta sesión",
    "No writes to the vehicle in this session",
    "Nenhuma escrita no veículo nesta sessão",
};
inline constexpr TextTable kUnit = {"Unidad", "Unit", "Steuergerät", "Unidad", "Unit", "Unidade"};
inline constexpr TextTable kKind = {"Escritura", "Write", "Vorgang",
                                    "Escritura", "Write", "Escrita"};
inline constexpr TextTable kBefore = {"Antes", "Before", "Vorher", "Antes", "Before", "Antes"};
inline constexpr TextTable kSent = {"Enviado", "Sent", "Gesendet", "Enviado", "Sent", "Enviado"};
inline constexpr TextTable kAnswer = {"Respuesta", "Answer", "Antwort",
                                      "Respuesta", "Answer", "Resposta"};
inline constexpr TextTable kNoAnswer = {"Sin respuesta", "No answer", "Keine Antwort",
                                        "Sin respuesta", "No answer", "Sem resposta"};
inline constexpr TextTable kDone = {"hecho", "done", "erledigt", "hecho", "done", "feito"};
inline constexpr TextTable kNotDone = {"no hecho", "not done", "nicht erledigt",
                                       "no hecho", "not done", "não feito"};

// The kinds of write the modules name ("erase", "coding", ...).
inline constexpr TextTable kKindErase = {"Borrado", "Erase", "Löschen",
                                         "Borrado", "Erase", "Apagar"};
inline constexpr TextTable kKindCoding = {"Codificación", "Coding", "Codierung",
                                          "Codificación", "Coding", "Codificação"};
inline constexpr TextTable kKindAdaptation = {"Adaptación", "Adaptation", "Anpassung",
                                              "Adaptación", "Adaptation", "Adaptação"};
inline constexpr TextTable kKindLogin = {"Acceso", "Login", "Anmeldung",
                                         "Acceso", "Login", "Acesso"};
inline constexpr TextTable kKindKey = {"Llave", "Key", "Schlüssel", "Llave", "Key", "Chave"};
inline constexpr TextTable kKindAirbag = {"Airbag", "Airbag", "Airbag",
                                          "Airbag", "Airbag", "Airbag"};
inline constexpr TextTable kKindService = {"Servicio", "Service", "Service",
                                           "Servicio", "Service", "Serviço"};

inline constexpr TextTable kNothing = {
    "La sesión no devolvió datos para el informe",
    "The session returned no data for the report",
    "Die Sitzung hat keine Daten für den Bericht geliefert",
    "La sesión no devolvió datos para el informe",
    "The session returned no data for the report",
    "A sessão não devolveu dados para o relatório",
};

// The question at the end of a session, and what follows the answer.
inline constexpr TextTable kOfferQuestion = {
    "¿Guardar el informe de la sesión?", "Write the session report?",
    "Sitzungsbericht speichern?",        "¿Guardar el informe de la sesión?",
    "Write the session report?",         "Gravar o relatório da sessão?",
};
inline constexpr TextTable kReportSaved = {
    "Informe guardado:\n%s", "Report written:\n%s", "Bericht gespeichert:\n%s",
    "Informe guardado:\n%s", "Report written:\n%s", "Relatório gravado:\n%s",
};
inline constexpr TextTable kReportFailed = {
    "No es posible guardar el informe:\n%s",
    "Cannot write the report:\n%s",
    "Bericht kann nicht gespeichert werden:\n%s",
    "No es posible guardar el informe:\n%s",
    "Cannot write the report:\n%s",
    "Não é possível gravar o relatório:\n%s",
};

}  // namespace corvan::engine::report_texts
