#include "shell/name_maps.h"

#include <gtest/gtest.h>

#include <set>

namespace corvan::shell {
namespace {

size_t keyCount(const std::vector<NamedKeys>& tables) {
    size_t n = 0;
    for (const auto& t : tables) n += t.keys.size();
    return n;
}

TEST(NameMaps, EveryKeyOnceAndEveryTableFilledInTheFourLanguages) {
    EXPECT_EQ(systemNameTables().size(), 60u);
    EXPECT_EQ(keyCount(systemNameTables()), 93u);
    EXPECT_EQ(moduleNameTables().size(), 44u);
    EXPECT_EQ(keyCount(moduleNameTables()), 47u);
    for (const auto* tables : {&systemNameTables(), &moduleNameTables()}) {
        std::set<std::string_view> keys;
        for (const auto& t : *tables) {
            for (int slot : {0, 1, 2, 5}) EXPECT_FALSE(t.text[slot].empty()) << t.keys[0];
            EXPECT_TRUE(t.text[3].empty() && t.text[4].empty()) << t.keys[0];
            for (auto k : t.keys) EXPECT_TRUE(keys.insert(k).second) << "twice: " << k;
        }
    }
}

TEST(NameMaps, DisplayTextsPerLanguage) {
    const NameMaps en = BuildNameMaps(1), de = BuildNameMaps(2), pt = BuildNameMaps(5),
                   es = BuildNameMaps(0);
    EXPECT_EQ(en.systemText("MOTOR EOBD"), "OBDII ENGINE");
    EXPECT_EQ(en.systemText("VAN"), "DATA BUS");
    EXPECT_EQ(en.systemText("Extra CEE"), "EXTRA CEE");
    EXPECT_EQ(de.systemText("INMO"), "WEGFAHRSPERRE");
    EXPECT_EQ(pt.systemText("AIRBAG"), "AIRBAG");
    EXPECT_EQ(es.systemText("MOTOR DIESEL"), "MOTOR DIESEL");
    // Unknown keys, and an index out of range (slot 0), show the key.
    EXPECT_EQ(en.systemText("SISTEMA NUEVO"), "SISTEMA NUEVO");
    EXPECT_EQ(BuildNameMaps(9).systemText("MOTOR GASOLINA"), "MOTOR GASOLINA");
    // The spare slots 3 and 4 are empty: the key is shown.
    EXPECT_EQ(BuildNameMaps(3).systemText("CLIMA"), "CLIMA");
}

TEST(NameMaps, ModuleTextsAsTheTerminalShowsThem) {
    const NameMaps en = BuildNameMaps(1), de = BuildNameMaps(2), es = BuildNameMaps(0),
                   pt = BuildNameMaps(5);
    EXPECT_EQ(en.moduleText("EWS - SEGURO ANTIARRANQUE ELECTRONICO"),
              "EWS - ELECTRONIC IMMOBILIZER");
    EXPECT_EQ(en.moduleText("SPMFT - MEMORIA ESPEJO LADO CONDUCTOR"),
              "SPMBT - DRIVER REARVIEW MIRROR MEMORY");
    EXPECT_EQ(en.moduleText("PDC - CONTROL DISTANCIA DE APARCAMIENTO"), "PDC - PARKINK AID SYSTEM");
    EXPECT_EQ(en.moduleText("JBIT - JAPAN BASIS INTERFACE TELEFON"),
              "BIT - JAPAN TELEPHONE BASIS INTERFACE");
    EXPECT_EQ(es.moduleText("JBIT - JAPAN BASIS INTERFACE TELEFON"),
              "JBIT - INTERFACE DE BASE PARA TELEFONO JAPONES");
    EXPECT_EQ(en.moduleText("KOM - CUADRO DE INSTRUMENTOS"), "KOM - CUADRO DE INSTRUMENTOS");
    EXPECT_EQ(en.moduleText("AIC - CONTROL AUTOMATICO DE INTERVALOS"),
              "AIC - SERVICE INSPECTION CONTROL SYSTEM");
    // The restraint-system generations share one table and keep their suffix.
    EXPECT_EQ(en.moduleText("MRS - SISTEMA DE RETENCION MULTIPLE III-IV"),
              "MRS - MULTIPLE RESTRAINT SYSTEM III-IV");
    EXPECT_EQ(de.moduleText("MRS - SISTEMA DE RETENCION MULTIPLE II"),
              "MRS - MEHRFACH-RÜCKHALTSYSTEM II");
    EXPECT_EQ(es.moduleText("MRS - SISTEMA DE RETENCION MULTIPLE IV"),
              "MRS - SISTEMA DE RETENCION MULTIPLE IV");
    EXPECT_EQ(pt.moduleText("MRS - SISTEMA DE RETENCION MULTIPLE III"),
              "MRS - SISTEMA DE RETENÇÃO MÚLTIPLO III");
    EXPECT_EQ(en.moduleText("EDC16"), "EDC16");
}

}  // namespace
}  // namespace corvan::shell
