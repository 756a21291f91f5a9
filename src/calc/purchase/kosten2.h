// "Kosten beim Hauskauf": the cost of buying an existing house, the purchase price of land and
// house plus notary, land transfer tax and the commission with a fixed 16 % value added tax; its
// six input rows and its settings section KOSTEN2.
#pragma once

#include <array>
#include <vector>

#include "calc/purchase/kosten.h"
#include "core/ini.h"

namespace vestral::calc::kosten2 {

struct Inputs {
    double NGRUNDDM = 0;  // land price per m²
    double NGRUNDQM = 0;  // land size in m²
    double NERSTELL = 0;  // price of the house (or of house and land together)
    double NNOTAR = 0;    // notary, % of the total price
    double NGRUEST = 0;   // land transfer tax, % of the total price
    double NMAKLER = 0;   // broker's commission, % of the total price
};

struct Results {
    double NGRUNDST = 0;  // land price
    double NERSTELLDM = 0;
    double NPREIS = 0;  // total purchase price
    double NNOTARDM = 0;
    double NGRUESTDM = 0;
    double NMAKLERDM = 0;  // with value added tax
    double NKOSTEN = 0;    // total
};

// This calculator does not read the tax setting: its commission always carries 16 %.
inline constexpr double kVat = 16;

// KO_RECH, without any rounding.
Results ko_rech(const Inputs& in);
// KO_IDATA: what the dialog shows while an input is being edited.
inline Results ko_idata() {
    return {};
}
// The three additional costs together (printed as a sum of its own).
inline double additional(const Results& r) {
    return r.NNOTARDM + r.NGRUESTDM + r.NMAKLERDM;
}

using Field = kosten::Field<Inputs, Results>;
// The six inputs in the order of the dialog.
inline constexpr std::array<Field, 6> kFields{{
    {"NGRUNDDM", "Grundstückspreis pro m²", &Inputs::NGRUNDDM, "€", "@K@E 999999999.99 ", "Grundstückspreis",
     0, 99999, "", "", "", "Grundstückspreis pro qm in EUR", nullptr, ""},
    {"NGRUNDQM", "Grundstücks-Größe", &Inputs::NGRUNDQM, "m²", "@K@E 999999999.99 ", "Grundstücksgröße", 0,
     999999, "", "", "", "Grundstücksgröße in qm", &Results::NGRUNDST, "NGRUNDST"},
    {"NERSTELL", "Hauskaufpreis", &Inputs::NERSTELL, "€", "@E 999999999.99 ", "Erstellungskosten", 0,
     99999999, "", "", "", "Erstellungskosten in EUR", &Results::NERSTELLDM, "NERSTELLDM"},
    {"NNOTAR", "Notarkosten", &Inputs::NNOTAR, "%", "@K@E 99999999.999 ", "Notarkosten", 0, 9, "1", "1,5",
     "%", "Notarkosten in %", &Results::NNOTARDM, "NNOTARDM"},
    {"NGRUEST", "Grunderwerbsteuer", &Inputs::NGRUEST, "%", "@K@E 99999999.999 ", "Grunderwerbssteuer", 0, 9,
     "3,5", "", "%", "Grunderwerbssteuer in %", &Results::NGRUESTDM, "NGRUESTDM"},
    {"NMAKLER", "Maklerkosten inkl. Mwst.", &Inputs::NMAKLER, "%", "@K@E 99999999.999 ", "Maklercourtage", 0,
     19, "3,0", "6,0", "%", "Maklerkosten (Courtage) in %", &Results::NMAKLERDM, "NMAKLERDM"},
}};
// The rows of the groups: "Immobilienkosten" holds the first three inputs and the total price,
// "zusätzliche Kosten" the other three, "Ergebnis" the total.
inline constexpr int kPropertyFields = 3;
inline constexpr const char* kPriceLabel = "Kaufpreis gesamt";
inline constexpr const char* kTotalLabel = "Kosten gesamt";
inline constexpr const char* kNote =
    "Die in diesem Dialog errechneten Kosten fallen nur beim Kauf einer\n"
    "Immobilie an. Der Kaufpreis der Immobilie inkl. Grundstück kann auch\n"
    "im Feld 'Hauskaufpreis' zusammengefaßt werden.";

inline constexpr const char* kTitle = "Kosten beim Hauskauf - Beispiel-Rechnung";
inline constexpr const char* kHelpTopic = "Kosten beim Hauskauf";
inline constexpr int kHeight = 390;
inline constexpr int kWidth = 401;

// Settings section KOSTEN2: the six inputs; the total is not stored.
inline constexpr const char* kSection = "KOSTEN2";
inline constexpr std::array<kosten::Key<Inputs>, 6> kKeys{{
    {"GrundDM", &Inputs::NGRUNDDM, 2, "0.00"},
    {"GrundQM", &Inputs::NGRUNDQM, 2, "0.00"},
    {"Erstell", &Inputs::NERSTELL, 2, "0.00"},
    {"Notar", &Inputs::NNOTAR, 3, "1.50"},
    {"GruEst", &Inputs::NGRUEST, 3, "3.50"},
    {"Makler", &Inputs::NMAKLER, 3, "6.00"},
}};

// KO_GDATA / KO_WDATA.
Inputs ko_gdata(const core::IniFile& ini);
std::vector<core::IniFile::Entry> ko_wdata_entries(const Inputs& in);
bool ko_wdata(core::IniFile ini, const Inputs& in);

}  // namespace vestral::calc::kosten2
