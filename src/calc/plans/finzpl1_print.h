// The printout of the owner-occupied financing plan: one portrait section per included source
// (its bank terms, its year rows and its result figures), then the landscape overview of all rows.
// It reads the plan's rows, the first row of each bank-terms copy and some settings; it writes
// nothing.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/plans/finzpl1.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

inline constexpr const char* kFp1PrintName = "Finanzierungsplan bei Eigennutzung";
inline constexpr const char* kFpPrintTitle = "Drucken";
inline constexpr const char* kFp1AskSingles = "Einzeltilgungspläne drucken ?";
inline constexpr const char* kFp1AskOverview = "Gesamt-Tilgungsplan drucken ?";
inline constexpr const char* kFp2PrintName = "Finanzierungsplan bei Vermietung";
inline constexpr const char* kFp2AskOverview = "Gesamttilgungsplan drucken ?";

// The first row of a bank-terms copy, field by field as stored (numbers and trimmed texts). A
// field the row does not have reads as 0 or empty.
struct FpTerms {
    std::map<std::string, double> num;
    std::map<std::string, std::string> text;
    double n(const std::string& field) const;
    std::string s(const std::string& field) const;
};

// The first row of the copy `file` in `dir`; nothing when the file is missing, cannot be read or
// holds no row. The file is closed again.
std::optional<FpTerms> fp_read_terms(const std::filesystem::path& dir, std::string_view file);

// The keys of section AFA75 the letting printout shows, with their defaults.
struct Afa75PrintValues {
    double Kaufpreis = 0;
    std::string Kaufdatum = "0";
    std::string DatumFertig = "0";
    bool AlsBetrVerm = false;
    bool AlsWohnung = false;
    std::string Abschreibung;
    double AfASum = 0;
    double AfADau = 0;
};
Afa75PrintValues afa75_print_values(const core::IniDocument& ini);

// Everything a plan's printout shows.
struct Fp1PrintInput {
    FpVariant variant = FpVariant::Owner;
    Fp1Include inc;
    std::vector<Fp1Row> rows;  // ordered by year
    std::optional<FpTerms> hyt1, hyt2, bau2, kre2;
    UserValues user;
    ObjektValues objekt;
    AfaValues afa;
    Afa75PrintValues afa75;  // the letting plan's
};

// The bank-terms copies of the printout's plan (in.variant), read from the program directory.
void fp1_read_print_terms(const std::filesystem::path& dir, Fp1PrintInput& in);

// FP1_DRUCK and FP2_DRUCK (by in.variant): the portrait sections when `singles`, then the
// landscape overview when `overview` as a second job (a job has one orientation); both answered
// no: one job without pages.
std::vector<toolkit::PrintJob> fp1_druck(const Fp1PrintInput& in, bool singles, bool overview,
                                         std::string_view program_title);

}  // namespace vestral::calc
