// Settings sections declared as key tables: reading with defaults, the written entries, keys
// reached through their members, and the readers other calculators use.
#include "core/settings_keys.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "calc/loans/bausparen.h"
#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"
#include "calc/purchase/kaufmiet.h"
#include "calc/tax/eigenheimzulage.h"
#include "calc/tax/ekst.h"
#include "core/clock.h"
#include "support/core_file_writes.h"
#include "support/core_tempdir.h"

namespace vestral::test {
namespace {

using core::IniDocument;

struct Values {
    double amount = 0;
    double rate = 0;
    int count = 0;
    core::Num carried;
    std::string name;
    std::string bank;
    bool yes = false;
    core::Date start;
    int year = 0;
    int untouched = 7;
};
struct Computed {
    double total = 0;
    double rate = 0;
};

std::string year_2031() {
    return "2031";
}

using K = core::SettingsKey<Values, Computed>;
constexpr core::SettingsSection kSection{"PROBE", std::array{
                                                      K::number("Betrag", &Values::amount, 2, "0.00"),
                                                      K::number("Zins", &Values::rate, 3, "5.5"),
                                                      K::whole("Anzahl", &Values::count, "3"),
                                                      K::exact("Uebernommen", &Values::carried, "0"),
                                                      K::text("Name", &Values::name, "niemand"),
                                                      K::text("Bank", &Values::bank, "", {10, true}),
                                                      K::flag("Ja", &Values::yes, "1"),
                                                      K::date("Beginn", &Values::start, ""),
                                                      K::whole("Jahr", &Values::year, &year_2031),
                                                      K::result("Summe", &Computed::total),
                                                      K::result("Satz", &Computed::rate, 3),
                                                  }};

TEST(SettingsKeys, MissingKeysTakeTheirDefaultsAndPresentOnesTheirText) {
    Values v;
    Computed c;
    core::read_section(IniDocument(""), kSection, v, c);
    EXPECT_EQ(v.amount, 0);
    EXPECT_EQ(v.rate, 5.5);
    EXPECT_EQ(v.count, 3);
    EXPECT_EQ(v.name, "niemand");
    EXPECT_EQ(v.bank, std::string(10, ' '));
    EXPECT_TRUE(v.yes);
    EXPECT_TRUE(v.start.empty());
    EXPECT_EQ(v.year, 2031);
    EXPECT_EQ(v.untouched, 7);  // no key binds it

    IniDocument doc(
        "[probe]\nbetrag = 1250.5\nZins=\nAnzahl=12.9\nUebernommen=7.050\nName=\nBank=Sparkasse Nord Ost\n"
        "Ja=yes\nBeginn=05.03.2007\nJahr=1999\nSumme=17.25\n");
    core::read_section(doc, kSection, v, c);
    EXPECT_EQ(v.amount, 1250.5);
    EXPECT_EQ(v.rate, 0);  // present but empty: not the default
    EXPECT_EQ(v.count, 12);
    EXPECT_EQ(v.carried.value, 7.05);
    EXPECT_EQ(v.carried.decimals, 3);
    EXPECT_EQ(v.name, "");
    EXPECT_EQ(v.bank, "Sparkasse ");  // cut to its width
    EXPECT_FALSE(v.yes);              // only "1" is yes
    EXPECT_EQ(v.start, (core::Date{2007, 3, 5}));
    EXPECT_EQ(v.year, 1999);
    EXPECT_EQ(c.total, 17.25);
    EXPECT_EQ(c.rate, 0);  // missing computed value: "0"

    // Without somewhere to put them, computed values are not read.
    Values only = core::read_section(doc, kSection);
    EXPECT_EQ(only.amount, 1250.5);
}

TEST(SettingsKeys, EntriesFollowTheTableWithTheirDecimalsAndShapes) {
    Values v;
    v.amount = 612.345;
    v.rate = 5.125;
    v.count = 24;
    v.carried = core::parse_lenient("7.050");
    v.name = "  Müller ";
    v.bank = "Sparkasse     ";
    v.yes = false;
    v.start = core::Date{2007, 3, 5};
    v.year = 2004;
    Computed c{178497.2049, 4.56789};
    const auto e = core::section_entries(kSection, v, c);
    const std::vector<std::pair<std::string, std::string>> want = {
        {"Betrag", "612.35"},  {"Zins", "5.125"},        {"Anzahl", "24"}, {"Uebernommen", "7.050"},
        {"Name", "  Müller "}, {"Bank", "Sparkasse"},    {"Ja", "0"},      {"Beginn", "05.03.2007"},
        {"Jahr", "2004"},      {"Summe", "178497.2049"}, {"Satz", "4.568"}};
    ASSERT_EQ(e.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(e[i].key, want[i].first);
        EXPECT_EQ(e[i].value, want[i].second) << want[i].first;
    }

    // What is written reads back to the same values.
    TempDir dir;
    core::IniFile ini(dir / "VESTRAL.INI");
    ASSERT_TRUE(ini.set_sections({core::section_write(kSection, v, c)}));
    Values back;
    Computed cback;
    core::read_section(ini.load(), kSection, back, cback);
    EXPECT_EQ(back.amount, 612.35);
    EXPECT_EQ(back.rate, 5.125);
    EXPECT_EQ(back.start, v.start);
    EXPECT_EQ(back.bank, "Sparkasse ");
    EXPECT_EQ(cback.total, 178497.2049);
}

TEST(SettingsKeys, OneKeyIsReachedThroughItsMember) {
    IniDocument doc("[PROBE]\nBank=Volksbank\nSumme=3.50\n");
    EXPECT_EQ(core::read_key(doc, kSection, &Values::bank), "Volksbank ");
    EXPECT_EQ(core::read_key(doc, kSection, &Values::count), 3);
    const auto e = core::key_entry(kSection, &Values::bank, "Volksbank   ");
    EXPECT_EQ(e.key, "Bank");
    EXPECT_EQ(e.value, "Volksbank");
    EXPECT_STREQ(core::key_name(kSection, &Computed::total), "Summe");
    const core::Num n = core::read_num(doc, kSection, &Computed::total, "0");
    EXPECT_EQ(n.value, 3.5);
    EXPECT_EQ(n.decimals, 2);
    EXPECT_EQ(core::read_num(doc, kSection, &Values::amount, "0").decimals, 0);
    // A member the section does not bind is a programming fault, never a silent default.
    EXPECT_THROW(core::read_key(doc, kSection, &Values::untouched), std::logic_error);
}

// The landed calculators' sections keep their keys, order, decimals and defaults.
TEST(CalculatorSections, KeysAndDefaultsStayAsTheyWere) {
    auto names = [](const auto& section) {
        std::vector<std::string> out;
        for (const auto& k : section.keys) out.push_back(k.name);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(calc::kKmSettings),
              (V{"Kaltmiete", "Kaufpreis", "Eigenkap.", "HypoZins", "Mieterh.", "Tilgung"}));
    EXPECT_EQ(names(calc::kBauSettings),
              (V{"Bankname", "BausparSumme", "AGebuehren", "KGebuehren", "AbJahr", "Sparanteil", "Sparzins",
                 "Kreditzins", "Festzeit", "KZinsNach", "SparSumme", "SparMonate", "TilgProm", "TilgSumme",
                 "TilgMonate", "SparMonat", "TilgMonat"}));
    EXPECT_EQ(names(calc::kRkSettings),
              (V{"Bankname", "Kredit", "Laufzeit", "MonZins", "MonRate", "BearbProz", "BearbGeb", "ZinsSumme",
                 "TilgSumme", "LzSumme", "ErstRate", "RestRate"}));
    EXPECT_EQ(names(calc::kEkstSettings), (V{"Einkomm", "FamStand", "AbJahr", "EKSteig"}));

    // Missing keys: the defaults the dialogs always read with.
    const IniDocument empty("");
    core::set_today_for_tests(core::Date{2003, 6, 1});
    const calc::AbschrInputs a = calc::abschr_load_settings(empty);
    EXPECT_EQ(a.NFAMSTAND, 1);
    EXPECT_EQ(a.NEINZUG, calc::abschr_default_year());
    EXPECT_TRUE(a.LA10E);
    EXPECT_FALSE(a.LNEUBAU);
    const calc::EkstInputs e = calc::ekst_load_settings(empty);
    EXPECT_EQ(e.NFAMSTAND, 1);
    EXPECT_EQ(e.NABJAHR, calc::ekst_default_start_year());
    core::set_today_for_tests({});
    const auto ek = calc::ekst_settings_entries(calc::EkstInputs{40000.5, 2, 2004, 1.5});
    ASSERT_EQ(ek.size(), 4u);
    EXPECT_EQ(ek[0].value, "40000.50");
    EXPECT_EQ(ek[1].value, "2");
    EXPECT_EQ(ek[2].value, "2004");
    EXPECT_EQ(ek[3].value, "1.50");
    EXPECT_EQ(calc::hypo_bank_name(empty), std::string(40, ' '));
    EXPECT_EQ(calc::rk_bank_name(IniDocument("[KRED2]\nBankname=Sparkasse\n")),
              "Sparkasse" + std::string(31, ' '));
    EXPECT_EQ(calc::bausp_bank_name(IniDocument("[bausp]\nBANKNAME = LBS\n")), "LBS" + std::string(37, ' '));
    EXPECT_EQ(calc::hypo_bank_name_entry("Sparkasse").value, "Sparkasse" + std::string(31, ' '));
    EXPECT_EQ(calc::rk_bank_name_entry("Volksbank").key, "Bankname");
}

TEST(CalculatorSections, TheAllowanceWritesItsThreeSectionsInOneReplacementOfTheFile) {
    TempDir dir;
    dir.write("VESTRAL.INI", "[Setup]\nERROR=1\n");
    core::IniFile ini(dir / "VESTRAL.INI", dir / "VESTRAL.SAV");
    calc::AbschrInputs in;
    in.NFAMSTAND = 2;
    in.NEINKOMM = 61355.5;
    in.NEINKSTEIG = 1.5;
    in.NKINDER = 2;
    in.NKAUFPREIS = 250000;
    in.NEINZUG = 2003;
    in.LNEUBAU = true;
    in.LA10E = true;
    calc::AbschrResults r;
    r.NFOERDRATE = 5;
    r.NABSCHJAHR = 2556;
    r.NKINDJAHR = 767;
    r.NKINDGELD = 6136;
    r.NABSCHREIB = 26584;
    FileWrites writes(dir.path(), "VESTRAL.INI");
    ASSERT_TRUE(ini.set_sections(calc::abschr_settings_sections(in, r)));
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(dir.read("VESTRAL.INI"),
              "[Setup]\nERROR=1\n\n[USER]\nFamilienstand=2\nEinkommen=61355.50\nEinkSteig=1.50\nKinder=2\n\n"
              "[OBJEKT]\nKaufpreis=250000.00\nEinzug=2003\nNeubau=1\n\n[AFA]\nA10e=1\nNEnergiehaus=0\n"
              "Oekozulage=0\nFoerderrate=5.000\nAbschr/Jahr=2556\nAbschreibung=26584\nKindgeld/Jahr=767\n"
              "Kindergeld=6136\n");
    EXPECT_EQ(dir.read("VESTRAL.SAV"), dir.read("VESTRAL.INI"));

    const IniDocument doc = ini.load();
    const calc::AbschrInputs back = calc::abschr_load_settings(doc);
    EXPECT_EQ(back.NEINKOMM, 61355.5);
    EXPECT_EQ(back.NEINZUG, 2003);
    EXPECT_TRUE(back.LNEUBAU);
    // The financing plans' view of the same sections.
    const calc::UserValues u = calc::user_values(doc);
    EXPECT_EQ(core::format_plain(u.NEINKOMM), "61355.50");
    EXPECT_EQ(u.NFAMSTAND, 2);
    EXPECT_EQ(u.NKINDER, 2);
    EXPECT_EQ(core::format_plain(u.NMIETE), "0.00");
    const calc::AfaValues afa = calc::afa_values(doc);
    EXPECT_EQ(core::format_plain(afa.NABSCHREIB), "26584");
    EXPECT_EQ(core::format_plain(afa.NFOERDRATE), "5.000");
    EXPECT_TRUE(afa.LA10E);
    const calc::ObjektValues o = calc::objekt_values(doc);
    EXPECT_EQ(core::format_plain(o.NKAUFPREIS), "250000.00");
    EXPECT_EQ(o.NEINZUG, 2003);
    EXPECT_TRUE(o.LNEUBAU);
}

TEST(CalculatorSections, TheFinancingPlansTakeTheContractOverWithTheDecimalsWritten) {
    calc::BauInputs in;
    in.CBANKNAME = "LBS Nord" + std::string(32, ' ');
    in.NBAUSPSUM = 50000;
    in.NSPARTEIL = 40;
    in.NMONRATE = 250;
    calc::BauResults res;
    res.NSSUMME = 20123.456;
    res.NSMONATE = 7.05;
    res.NTSUMME = 29876.544;
    res.NTMONATE = 9.11;
    res.NMONTILG = 300;
    IniDocument doc;
    for (const auto& e : calc::bausp_settings_entries(in, res)) doc.set(calc::kBauSection, e.key, e.value);
    EXPECT_EQ(doc.get("BAUSP", "Bankname", "?"), "LBS Nord");
    const calc::BauspTakeOver t = calc::bausp_take_over(doc);
    EXPECT_EQ(core::format_plain(t.NBAUSPSUM), "50000.00");
    EXPECT_EQ(core::format_plain(t.NSPARTEIL), "40.00");
    EXPECT_EQ(core::format_plain(t.NSPARSUM), "20123.456");
    EXPECT_EQ(core::format_plain(t.NLAUFZS), "7.05");
    EXPECT_EQ(core::format_plain(t.NMONRATES), "250.00");
    EXPECT_EQ(core::format_plain(t.NTILGSUM), "29876.544");
    EXPECT_EQ(core::format_plain(t.NLAUFZT), "9.11");
    EXPECT_EQ(core::format_plain(t.NMONRATET), "300");
    const calc::BauspTakeOver none = calc::bausp_take_over(IniDocument(""));
    EXPECT_EQ(core::format_plain(none.NSPARSUM), "0");
}

}  // namespace
}  // namespace vestral::test
