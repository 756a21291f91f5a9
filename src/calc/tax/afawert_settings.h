// Settings section BER_AFA of the depreciation value: the purchase price, which the market value
// reads and writes as well, and the tax office's land value.
#pragma once

#include <array>

#include "core/settings_keys.h"

namespace vestral::calc {

struct AfaWertInputs {
    double NKAUFDM = 0;    // purchase price of the built-on property
    double NFA_GRUND = 0;  // land value set by the tax office
};

using AfaWertKey = core::SettingsKey<AfaWertInputs>;
inline constexpr core::SettingsSection kAfaWertSettings{
    "BER_AFA", std::array{
                   AfaWertKey::number("KaufDM", &AfaWertInputs::NKAUFDM, 2, "0.00"),
                   AfaWertKey::number("FAGrund", &AfaWertInputs::NFA_GRUND, 2, "0.00"),
               }};

}  // namespace vestral::calc
