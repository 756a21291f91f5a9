// The contract of the building-savings example that several tests compute to the cent.
#pragma once

#include "calc/loans/bausparen.h"

namespace vestral::test {

inline calc::BauInputs bausparen_first_case() {
    calc::BauInputs in;
    in.CBANKNAME = "Bausparkasse Nord";
    in.NBAUSPSUM = 50000;
    in.NABSCHGEB = 1;
    in.NKONTOGEB = 1;
    in.NABJAHR = 2007;
    in.NSPARTEIL = 40;
    in.NSZINSSTZ = 2;
    in.NMONRATE = 300;
    in.NTILGANNO = 6;
    in.NTZINSSTZ = 4;
    in.NTFESTZEIT = 10;
    in.NTZINSNACH = 4;
    return in;
}

}  // namespace vestral::test
