// "Mögliche Belastung" for the user: the table of loan amounts over KREDIT.
#pragma once

class QWidget;

namespace vestral::calc {

inline constexpr const char* kKredHelpTopic = "Mögliche Belastung";

// KREDRAHMEN: makes and fills KREDIT, shows it, and deletes the table when the dialog closes.
void kredrahmen(QWidget* parent);

}  // namespace vestral::calc
