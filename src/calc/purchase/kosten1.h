// "Kosten beim Hausbau": the total cost of building a house, from land and development over the
// percentages on the land to the building cost, the commission with value added tax and the
// further works; its thirteen input rows and its settings section KOSTEN1.
#pragma once

#include <array>
#include <vector>

#include "calc/purchase/kosten.h"
#include "core/ini.h"

namespace vestral::calc::kosten1 {

struct Inputs {
    double NGRUNDDM = 0;  // land price per m²
    double NGRUNDQM = 0;  // land size in m²
    double NERSCHL = 0;   // development cost per m² of land
    double NVERMESS = 0;  // surveying, % of land and development
    double NNOTAR = 0;    // notary, % of land and development
    double NBAUANTR = 0;  // building permit
    double NGRUEST = 0;   // land transfer tax, % of land and development
    double NERSTELL = 0;  // building cost of the house
    double NMAKLER = 0;   // broker's commission, % of the building cost
    double NKELLER = 0;   // cellar or base slab
    double NANSCHL = 0;   // connections for gas, water and electricity
    double NAUSSEN = 0;   // outdoor works
    double NGARAGE = 0;   // garage or carport
    double NMWST = 16;    // value added tax on the commission, % (program setting, not an input)
};

struct Results {
    double NGRUNDST = 0;  // land price
    double NERSCHLDM = 0;
    double NVERMESSDM = 0;
    double NNOTARDM = 0;
    double NBAUANTRDM = 0;
    double NGRUESTDM = 0;
    double NERSTELLDM = 0;
    double NMAKLERDM = 0;  // with value added tax
    double NKELLERDM = 0;
    double NANSCHLDM = 0;
    double NAUSSENDM = 0;
    double NGARAGEDM = 0;
    double NKOSTEN = 0;  // total
};

// KO_RECH, without any rounding.
Results ko_rech(const Inputs& in);
// KO_IDATA: what the dialog shows while an input is being edited.
inline Results ko_idata() {
    return {};
}

using Field = kosten::Field<Inputs, Results>;
// The thirteen rows in the order of the dialog.
inline constexpr std::array<Field, 13> kFields{{
    {"NGRUNDDM", "Grundstückspreis pro m²", &Inputs::NGRUNDDM, "€", "@K@E 999999999.99 ", "Grundstückspreis",
     0, 99999, "", "", "", "Grundstückspreis pro qm in EUR", nullptr, ""},
    {"NGRUNDQM", "Grundstücks-Größe", &Inputs::NGRUNDQM, "m²", "@K@E 999999999.99 ", "Grundstücksgröße", 0,
     999999, "", "", "", "Grundstücksgröße in qm", &Results::NGRUNDST, "NGRUNDST"},
    {"NERSCHL", "Erschließungskosten m²", &Inputs::NERSCHL, "€", "@E 999999999.99 ", "Erschließungskosten", 0,
     999999, "", "", "", "Erschließungskosten pro qm in EUR", &Results::NERSCHLDM, "NERSCHLDM"},
    {"NVERMESS", "Vermessungskosten", &Inputs::NVERMESS, "%", "@E 99999999.999 ", "Vermessungskosten", 0, 9,
     "0,5", "2,5", "%", "Vermessungskosten in %", &Results::NVERMESSDM, "NVERMESSDM"},
    {"NNOTAR", "Notarkosten", &Inputs::NNOTAR, "%", "@E 99999999.999 ", "Notarkosten", 0, 9, "1", "1,5", "%",
     "Notarkosten in %", &Results::NNOTARDM, "NNOTARDM"},
    {"NBAUANTR", "Bauantragskosten", &Inputs::NBAUANTR, "€", "@E 999999999.99 ", "Bauantragskosten", 0,
     9999999, "", "", "", "Bauantragskosten in EUR", &Results::NBAUANTRDM, "NBAUANTRDM"},
    {"NGRUEST", "Grunderwerbsteuer", &Inputs::NGRUEST, "%", "@E 99999999.999 ", "Grunderwerbssteuer", 0, 9,
     "3,5", "", "%", "Grunderwerbsteuer in %", &Results::NGRUESTDM, "NGRUESTDM"},
    {"NERSTELL", "Hausbaukosten", &Inputs::NERSTELL, "€", "@E 999999999.99 ", "Erstellungskosten", 0,
     99999999, "", "", "", "Erstellungskosten in EUR", &Results::NERSTELLDM, "NERSTELLDM"},
    {"NMAKLER", "Maklerkosten (inkl. Mwst.)", &Inputs::NMAKLER, "%", "@E 99999999.999 ", "Maklercourtage", 0,
     19, "3,0", "6,0", "%", "Maklerkosten (Courtage) in %", &Results::NMAKLERDM, "NMAKLERDM"},
    {"NKELLER", "Keller / Bodenplatte", &Inputs::NKELLER, "€", "@E 999999999.99 ",
     "Kosten Keller/Bodenplatte", 0, 99999999, "", "", "", "Kosten für Keller bzw. Bodenplatte in EUR",
     &Results::NKELLERDM, "NKELLERDM"},
    {"NANSCHL", "Anschlußkosten", &Inputs::NANSCHL, "€", "@E 999999999.99 ", "Anschlußkosten", 0, 99999999,
     "", "", "", "Anschlußkosten für Gas, Wasser und Strom in EUR", &Results::NANSCHLDM, "NANSCHLDM"},
    {"NAUSSEN", "Außenanlage", &Inputs::NAUSSEN, "€", "@E 999999999.99 ", "Außenanlage", 0, 99999999, "", "",
     "", "Kosten für Außenanlage in EUR", &Results::NAUSSENDM, "NAUSSENDM"},
    {"NGARAGE", "Garage / Carport", &Inputs::NGARAGE, "€", "@E 999999999.99 ", "Garage/Carport", 0, 99999999,
     "", "", "", "Baukosten für Garage / Carport in EUR", &Results::NGARAGEDM, "NGARAGEDM"},
}};

inline constexpr const char* kTitle = "Kosten beim Hausbau - Beispiel-Rechnung";
inline constexpr const char* kHelpTopic = "Kosten beim Hausbau";
inline constexpr int kHeight = 425;
inline constexpr int kWidth = 401;

// Settings section KOSTEN1: the thirteen inputs in the order they are written, then the total.
inline constexpr const char* kSection = "KOSTEN1";
inline constexpr std::array<kosten::Key<Inputs>, 13> kKeys{{
    {"GrundDM", &Inputs::NGRUNDDM, 2, "0.00"},
    {"GrundQM", &Inputs::NGRUNDQM, 2, "0.00"},
    {"Erschl", &Inputs::NERSCHL, 2, "0.00"},
    {"Vermess", &Inputs::NVERMESS, 3, "2.50"},
    {"Notar", &Inputs::NNOTAR, 3, "1.50"},
    {"Bauantr", &Inputs::NBAUANTR, 2, "0.00"},
    {"GruEst", &Inputs::NGRUEST, 3, "3.50"},
    {"Erstell", &Inputs::NERSTELL, 2, "0.00"},
    {"Makler", &Inputs::NMAKLER, 3, "6.00"},
    {"Keller", &Inputs::NKELLER, 2, "0.00"},
    {"Anschl", &Inputs::NANSCHL, 2, "0.00"},
    {"Aussen", &Inputs::NAUSSEN, 2, "0.00"},
    {"Garage", &Inputs::NGARAGE, 2, "0.00"},
}};
inline constexpr const char* kTotalKey = "Kosten";  // written with two decimals

// The value added tax rate comes from the program's own section.
inline constexpr const char* kVatSection = "SETUP_PROG";
inline constexpr const char* kVatKey = "MWST";

// KO_GDATA: the inputs of section KOSTEN1 and the tax rate.
Inputs ko_gdata(const core::IniFile& ini);
// KO_WDATA's entries: the inputs and the total that belongs to them.
std::vector<core::IniFile::Entry> ko_wdata_entries(const Inputs& in);
// KO_WDATA: one replacement of the settings file; false when it could not be written.
bool ko_wdata(core::IniFile ini, const Inputs& in);

}  // namespace vestral::calc::kosten1
