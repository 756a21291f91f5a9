#include "core/catalogue.h"

#include <fcntl.h>
#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <stdexcept>
#include <string>

#include "core/files.h"
#include "core/opstack.h"

namespace vestral::core {

namespace {

struct Source {
    std::string_view table;
    TableHandling handling;
    std::string_view fields;  // "NAME T width,decimals; ..."
};

// The tables that keep what the user saved.
constexpr std::string_view kStores[] = {"HYPOBANK", "BSPBANK", "KREDBANK", "HYSPBANK", "VERBRCH"};

// LIEFER of VERBRCH carries no decimals: a character field has none in this format.
// HYPOBANK and KREDBANK carry the annual percentage rate beside the nominal-based effective rate
// (blank where none is defined); the added field fails old files on the layout test, so they are
// migrated with their records.
// HYPOBANK keeps the rates with the three decimals of their inputs and the fees up to
// 99 999 999,99, so a saved plan reloads unchanged; its record length differs from the older,
// narrower layout, which is what lets the layout test find old files and migrate them.
const Source kSources[] = {
    {"FINZPL1", TableHandling::Create,
     "JAHR N 4,0; EINKOMM N 12,2; H1BANK C 40,0; H1SUMME N 12,2; H1ZINSEN N 12,2; "
     "H1RATEN N 12,2; H1REST N 12,2; H2BANK C 40,0; H2SUMME N 12,2; H2ZINSEN N 12,2; "
     "H2RATEN N 12,2; H2REST N 12,2; BSPBANK C 40,0; BSSUMME N 12,2; BSAKTION C 40,0; "
     "BSEINZAHL N 12,2; BSSPARSUM N 12,2; BSSPZINS N 12,2; BSTILGSUM N 12,2; BSTIZINS N 12,2; "
     "KTOSTAND N 12,2; RKBANK C 40,0; RKSUMME N 12,2; RKZINSEN N 12,2; RKTILGUNG N 12,2; "
     "RKRATEN N 12,2; RKREST N 12,2; ZINSENGES N 12,2; RATENGES N 12,2; RESTGES N 12,2; "
     "AFA N 12,2; STEUERERL N 12,2; KINDGELD N 12,2"},
    {"FINZPL2", TableHandling::CreateRebuild,
     "JAHR N 4,0; H1BANK C 40,0; H1SUMME N 12,2; H1ZINSEN N 12,2; H1RATEN N 12,2; "
     "H1REST N 12,2; H2BANK C 40,0; H2SUMME N 12,2; H2ZINSEN N 12,2; H2RATEN N 12,2; "
     "H2REST N 12,2; BSPBANK C 40,0; BSSUMME N 12,2; BSAKTION C 40,0; BSEINZAHL N 12,2; "
     "BSSPARSUM N 12,2; BSSPZINS N 12,2; BSTILGSUM N 12,2; BSTIZINS N 12,2; KTOSTAND N 12,2; "
     "RKBANK C 40,0; RKSUMME N 12,2; RKZINSEN N 12,2; RKTILGUNG N 12,2; RKRATEN N 12,2; "
     "RKREST N 12,2; ZINSENGES N 12,2; RATENGES N 12,2; RESTGES N 12,2; AFA N 12,2; "
     "AFARATE N 6,2; EINKOMM N 12,2; EINKSTEIG N 12,3; MIETE N 12,2; MIETSTEIG N 12,3; "
     "FAMSTAND N 1,0; AFAEKST1 N 12,2; AFAEKST2 N 12,2; STEUERERL N 12,2"},
    {"BSPBANK", TableHandling::CreateMigrate,
     "BANKNAME C 40,0; BSPSUMME N 12,2; ABSCHGEB N 10,3; KONTOGEB N 10,3; ABJAHR N 4,0; "
     "ABMONAT N 2,0; SPARSATZ N 9,2; SMONRATE N 12,2; SZINSSTZ N 10,3; TILGANNO N 10,3; "
     "TZINSSTZ N 10,3; TFESTZEIT N 4,0; TZINSNACH N 10,3; TILGJAHR N 4,0; LAUFZEIT N 4,0; "
     "SMONATE N 4,0; SSUMME N 12,2; TMONRATE N 12,2; KREDITDM N 9,2; SPARSUM N 12,2; "
     "SPARZEIT N 6,2; SPARZINS N 12,2; TILGSUM N 12,2; TILGZEIT N 6,2; TILGZINS N 12,2; "
     "GEBUSUM N 12,2; EINMSUM N 12,2; ANNUITAT N 12,2; EFFZINS N 7,3"},
    {"BAUSPAR", TableHandling::Create,
     "BANKNAME C 40,0; KEY N 1,0; CODE N 1,0; AKTION C 30,0; JAHR N 4,0; DATUM D 8,0; "
     "EINZAHLUNG N 12,2; GEBUEHR N 12,2; ZINSEN N 12,2; ZINSSUM N 12,2; SPAREN N 12,2; "
     "SPARSUM N 12,2; TILGUNG N 12,2; TILGSUM N 12,2; ANUITAT N 12,2; GUTHABEN N 12,2; "
     "KREDIT N 12,2; KTOSTAND N 12,2"},
    {"HYPOBANK", TableHandling::CreateMigrate,
     "BANKNAME C 40,0; HYPOTHEK N 12,2; ZINSSATZ N 10,3; TILGJAHR N 10,3; ABDATUM D 8,0; "
     "ABJAHR N 4,0; LAUFZEIT N 4,0; KONTOGEB N 12,2; KREDITPR N 9,2; KREDITDM N 12,2; "
     "ZINSNACH N 10,3; EINMALDM N 12,2; EINMALMO N 2,0; ZINSSUM N 12,2; TILGSUM N 12,2; "
     "TILGZEIT N 6,2; GEBUSUM N 12,2; EINMSUM N 12,2; ANNUITAT N 12,2; ANNUITA2 N 12,2; "
     "EFFZINS N 7,3; JAHRESZINS N 7,3"},
    {"HYPOTHEK", TableHandling::CreateMigrate,
     "BANKNAME C 40,0; KEY N 1,0; DATUM D 8,0; ABJAHR N 4,0; ABMONAT N 2,0; HYPOTHEK N 12,2; "
     "ZINSEN N 12,2; ZINSSUM N 12,2; TILGUNG N 12,2; TILGSUM N 12,2; ANUITAT N 12,2; "
     "EINMALDM N 12,2; EINMSUM N 12,2; GEBUEHR N 12,2; GEBUSUM N 12,2; MONRATE N 12,2; "
     "MONRSUM N 12,2; RESTHYP N 12,2; GEZAHLT N 12,2; RESTZINS N 12,2"},
    // The rate and the fee % keep the three decimals of their inputs; the wider rate changes the
    // record length, so files of the older layout are migrated with their records.
    {"KREDBANK", TableHandling::CreateMigrate,
     "BANKNAME C 40,0; KREDIT N 12,2; ZINSSATZ N 10,3; TILGJAHR N 4,0; ABJAHR N 4,0; "
     "LAUFZEIT N 4,0; KONTOGEB N 9,2; KREDITPR N 12,3; KREDITDM N 12,2; MONRATE N 12,2; "
     "ZAHLRATE N 12,2; LASTRATE N 12,2; ZINSSUM N 12,2; TILGSUM N 12,2; TILGZEIT N 6,2; "
     "EFFZINS N 7,3; JAHRESZINS N 7,3"},
    {"RATKRED", TableHandling::Create,
     "BANKNAME C 40,0; JAHR N 4,0; MONAT N 3,0; KREDIT N 12,2; ZINSEN N 12,2; ZINSSUM N 12,2; "
     "TILGUNG N 12,2; TILGSUM N 12,2; MONRATE N 12,2; GETILGT N 12,2"},
    // The rates keep the three decimals of their inputs and the fees reach 99 999 999,99; the
    // record length differs from the older layout, so old files are migrated with their records.
    {"HYSPBANK", TableHandling::CreateMigrate,
     "SPARNAME C 40,0; TILGSUMM N 12,2; ABJAHR N 4,0; SPZINS N 10,3; SPLZEIT N 4,0; "
     "SPMRATE N 12,2; SPKTOGEB N 9,2; SPAUSZU N 9,2; SPAUSDM N 12,2; TILGNAME C 40,0; "
     "HYPOTHEK N 12,2; HYPZSATZ N 10,3; HYPZFEST N 3,0; HYPZNACH N 10,3; TILGJAHR N 4,0; "
     "TILGANNO N 4,0; LAUFZEIT N 4,0; TIKTOGEB N 12,2; KREDITPR N 9,2; KREDITDM N 12,2; "
     "ZINSSUM N 12,2; TILGSUM N 12,2; TILGZEIT N 6,2; GEBUSUM N 12,2; EINMSUM N 12,2; "
     "ANNUITAT N 12,2; ANNUITA2 N 12,2; EFFZINS N 7,3"},
    {"HYPSPAR", TableHandling::CreateMigrate,
     "DATUM D 8,0; SPARNAME C 40,0; KEY1 N 1,0; TILGSUMM N 12,2; SPARDAT D 8,0; "
     "SPARSUMM N 12,2; SPARZINS N 12,2; SPARZSUM N 12,2; SPARRATE N 12,2; SPARRATS N 12,2; "
     "SGEBUEHR N 12,2; SGEBUSUM N 12,2; SGEBAUSZU N 12,2; SGEBAUSDM N 12,2; SPARKONTO N 12,2; "
     "TILGNAME C 40,0; KEY2 N 1,0; TILGDAT D 8,0; ABJAHR N 4,0; ABMONAT N 2,0; "
     "HYPOTHEK N 12,2; ZINSEN N 12,2; ZINSSUM N 12,2; ANUITAT N 12,2; TGEBUEHR N 12,2; "
     "TGEBUSUM N 12,2; GEZAHLT N 12,2; RESTZINS N 12,2"},
    {"STEU10E", TableHandling::Create,
     "JAHR N 4,0; EINKOMM N 12,2; V_STEUER N 12,2; N_STEUER N 12,2; V_KIRCHST N 12,2; "
     "N_KIRCHST N 12,2; V_SOLIZU N 12,2; N_SOLIZU N 12,2; KINDGELD N 12,2; P10E N 12,2; "
     "ERSPAR N 12,2"},
    {"ABSCHEPL", TableHandling::Create,
     "JAHR N 4,0; EINKOMM N 12,2; EINKSTEIG N 12,2; ABSCHJAHR N 12,2; KINDJAHR N 12,2; "
     "STEUERERL N 12,2"},
    {"STEU75E", TableHandling::Create, "JAHR N 4,0; FREIBETRAG N 12,2; STJAHR N 3,0; STVORTEIL N 12,2"},
    {"VERBRCH", TableHandling::Create,
     "VERBRART N 2,0; DATUM D 8,0; LIEFER C 40,0; TELEFON C 40,0; KDNR C 20,0; "
     "ZAEHLER C 20,0; GRUNDDM N 9,2; GRUNDTEIL N 9,2; PROEINHEIT N 9,4; INDEX N 9,4; "
     "ABSCHLAGDM N 9,2; ZAEHLER1 N 12,2; ZAEHLER2 N 12,2; ABLESDAT1 D 8,0; ABLESDAT2 D 8,0; "
     "VERBREINH N 9,0; VERBRDM N 9,2; VERBRTAG N 9,2; VERBRMON N 9,2; SGRUNDDM N 9,2; "
     "SABSCHLAG N 9,2; SUMME N 9,2; MWPROZ N 9,2; SMWST N 9,2; SNETTO N 9,2; SKORREKT N 9,2"},
};

const std::string_view kHypotemp =
    "DATUM D 8,0; HYPOTHEK N 12,2; ZINSEN N 12,2; ZINSSUM N 12,2; TILGUNG N 12,2; TILGSUM N 12,2; "
    "ANUITAT N 12,2; EINMALDM N 12,2; MONRATE N 12,2; RESTHYP N 12,2";

dbf::Layout parse_layout(std::string_view text) {
    dbf::Layout layout;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string item(text.substr(pos, end - pos));
        pos = end + 1;
        char name[16] = {0};
        char type = 0;
        int width = 0, decimals = 0;
        if (std::sscanf(item.c_str(), " %15s %c %d,%d", name, &type, &width, &decimals) != 4)
            throw std::logic_error("bad catalogue entry: " + item);
        layout.push_back({name, type, width, decimals});
    }
    return layout;
}

// Renames without ever replacing a file that is already there (rename(2) would replace it).
bool rename_noreplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    std::error_code ec;
    fs::create_hard_link(from, to, ec);
    if (ec) return false;
    fs::remove(from, ec);
    return true;
}

// A backup name not taken yet: HYPOBANK.BAK, else HYPOBANK.B01, ... so that a backup someone
// left there is never overwritten.
std::optional<fs::path> free_backup_name(const fs::path& dir, std::string_view table) {
    for (int n = 0; n < 100; ++n) {
        char ext[8];
        std::snprintf(ext, sizeof ext, n == 0 ? ".BAK" : ".B%02d", n);
        std::string name = std::string(table) + ext;
        if (!exists_ci(dir, name)) return dir / name;
    }
    return std::nullopt;
}

// Opens the existing file and tells whether it passes the layout test; nothing when it cannot be opened.
std::optional<bool> passes_layout_test(const fs::path& file, const CatalogueEntry& e) {
    dbf::Table t;
    if (!t.open_unchecked(file, std::string(e.table))) return std::nullopt;
    bool ok = dbf::layout_matches(t.layout(), e.layout);
    t.close();
    return ok;
}

void rebuild(const fs::path& dir, const fs::path& file, const CatalogueEntry& e) {
    auto ok = passes_layout_test(file, e);
    if (!ok || *ok) return;
    std::error_code ec;
    fs::remove(file, ec);
    dbf::create_table(dir / (std::string(e.table) + ".DBF"), e.layout);
}

// The old file is kept (as a backup) until the new one holds all its records; any step that
// fails puts it back where it was.
void migrate(const fs::path& dir, const fs::path& file, const CatalogueEntry& e) {
    auto ok = passes_layout_test(file, e);
    if (!ok || *ok) return;
    auto bak = free_backup_name(dir, e.table);
    if (!bak || !rename_noreplace(file, *bak)) return;
    fs::path fresh = dir / (std::string(e.table) + ".DBF");
    std::error_code ec;
    bool done = false;
    if (dbf::create_table(fresh, e.layout)) {
        dbf::Table t;
        if (t.open(fresh, std::string(e.table))) {
            done = t.append_from(*bak) && t.flush();
            t.close();
        }
    }
    if (done) {
        fs::remove(*bak, ec);
        return;
    }
    fs::remove(fresh, ec);
    rename_noreplace(*bak, file);
}

}  // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries = [] {
        std::vector<CatalogueEntry> v;
        for (const Source& s : kSources) {
            const bool store =
                std::find(std::begin(kStores), std::end(kStores), s.table) != std::end(kStores);
            v.push_back({s.table, s.handling, parse_layout(s.fields), store});
            if (store) dbf::mark_durable(std::string(s.table) + ".DBF");
        }
        return v;
    }();
    return entries;
}

const dbf::Layout& catalogue_layout(std::string_view table) {
    for (const CatalogueEntry& e : catalogue())
        if (iequals_ascii(e.table, table)) return e.layout;
    static const dbf::Layout hypotemp = parse_layout(kHypotemp);
    if (iequals_ascii(table, "HYPOTEMP")) return hypotemp;
    throw std::out_of_range("no catalogue table " + std::string(table));
}

namespace {

// A name not taken yet for the damaged bytes: HYPOBANK.DEFEKT, then HYPOBANK.DEFEKT1, ...
std::optional<fs::path> free_defekt_name(const fs::path& dir, std::string_view table) {
    for (int n = 0; n < 10000; ++n) {
        std::string name = std::string(table) + ".DEFEKT" + (n == 0 ? std::string() : std::to_string(n));
        if (!exists_ci(dir, name)) return dir / name;
    }
    return std::nullopt;
}

std::optional<SetAside> set_aside(const fs::path& dir, const fs::path& file, const CatalogueEntry& e,
                                  const dbf::Examination& found) {
    auto kept = free_defekt_name(dir, e.table);
    if (!kept || !rename_noreplace(file, *kept)) return std::nullopt;
    SetAside out;
    out.file = std::string(e.table) + ".DBF";
    out.kept_as = kept->filename().string();
    out.reason = found.reason;
    const fs::path fresh = dir / out.file;
    if (!dbf::create_table(fresh, e.layout)) return out;
    if (found.damage == dbf::Damage::Cut && found.whole_records > 0) {
        dbf::Table t;
        if (t.open(fresh, std::string(e.table))) {
            out.records_read = std::max(0L, t.salvage_from(*kept));
            t.close();
        }
    }
    return out;
}

// <file>.tmp<digits>: what a write by temporary name and rename leaves when it is interrupted.
bool is_temporary_of(const std::string& name, const std::string& file) {
    if (name.size() <= file.size() + 4 || !iequals_ascii(name.substr(0, file.size() + 4), file + ".tmp"))
        return false;
    return std::all_of(name.begin() + static_cast<long>(file.size()) + 4, name.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

void remove_temporaries(const fs::path& dir) {
    std::error_code ec;
    std::vector<fs::path> doomed;
    for (const auto& item : fs::directory_iterator(dir, ec)) {
        const std::string name = item.path().filename().string();
        for (const CatalogueEntry& e : catalogue())
            if (is_temporary_of(name, std::string(e.table) + ".DBF")) doomed.push_back(item.path());
    }
    for (const fs::path& p : doomed) fs::remove(p, ec);
}

}  // namespace

std::vector<SetAside> check_dbf(const fs::path& dir) {
    VESTRAL_OP("CHECKDBF");
    std::vector<SetAside> report;
    remove_temporaries(dir);
    for (const CatalogueEntry& e : catalogue()) {
        std::string name = std::string(e.table) + ".DBF";
        fs::path file = resolve_ci(dir, name);
        std::error_code ec;
        if (!fs::exists(file, ec)) {
            dbf::create_table(dir / name, e.layout);
            continue;
        }
        const dbf::Examination found = dbf::examine(file);
        if (found.damage == dbf::Damage::Empty || found.damage == dbf::Damage::Header ||
            found.damage == dbf::Damage::Cut) {
            if (auto done = set_aside(dir, file, e, found)) report.push_back(std::move(*done));
            continue;
        }
        switch (e.handling) {
            case TableHandling::Create:
                break;
            case TableHandling::CreateRebuild:
                rebuild(dir, file, e);
                break;
            case TableHandling::CreateMigrate:
                migrate(dir, file, e);
                break;
        }
    }
    return report;
}

std::string set_aside_message(const std::vector<SetAside>& set_aside) {
    if (set_aside.empty()) return {};
    std::string text = set_aside.size() == 1 ? "Eine beschädigte Tabelle wurde beiseitegelegt:\n"
                                             : "Beschädigte Tabellen wurden beiseitegelegt:\n";
    for (const SetAside& s : set_aside) {
        text += "\n" + s.reason + "\n";
        text +=
            "Die Datei wurde unverändert als " + s.kept_as + " aufbewahrt und " + s.file + " neu angelegt. ";
        if (s.records_read == 1)
            text += "1 Datensatz konnte gelesen werden und ist in der neuen Tabelle enthalten.\n";
        else if (s.records_read > 1)
            text += std::to_string(s.records_read) +
                    " Datensätze konnten gelesen werden und sind in der neuen Tabelle enthalten.\n";
        else
            text += "Es konnten keine Datensätze gelesen werden.\n";
    }
    text += "\nDas Programm startet mit den neu angelegten Tabellen.";
    return text;
}

bool make_hydbf(const fs::path& dir, dbf::Table& table) {
    VESTRAL_OP("MAKEHYDBF");
    fs::path file = resolve_ci(dir, "HYPOTEMP.DBF");
    std::error_code ec;
    if (!fs::exists(file, ec) && !dbf::create_table(file, catalogue_layout("HYPOTEMP"))) return false;
    return table.open(file, "DHYP");
}

bool open_catalogue_table(dbf::Table& t, const fs::path& dir, std::string_view table,
                          std::string_view alias) {
    return dbf::open_or_create(t, dir, std::string(table) + ".DBF", catalogue_layout(table),
                               std::string(alias.empty() ? table : alias));
}

}  // namespace vestral::core
