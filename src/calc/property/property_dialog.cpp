#include "calc/property/property_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "core/clock.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "ui/blocks.h"

namespace vestral::calc::look {

namespace {
const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));
const QColor kWhite(255, 255, 255);
const QColor kMagenta(255, 0, 255);
const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);

QColor normal_text() {
    return ui::color(core::ProgramSettings::kColF);
}
QColor normal_background() {
    return ui::color(core::ProgramSettings::kColBH);
}
}  // namespace

QVBoxLayout* panel_layout(QDialog* dialog) {
    QVBoxLayout* inner = ui::panel_layout(dialog, kPanelEdge);
    inner->setSpacing(8);
    return inner;
}

QGroupBox* group(const QString& title, const char* object_name, QWidget* parent) {
    QGroupBox* g = ui::framed_group(title, kGroupFrame, parent);
    g->setObjectName(object_name);
    return g;
}

void align_with_group(QGridLayout* outside, const QGroupBox* group) {
    const QMargins m = group->layout()->contentsMargins();
    // The group's frame is 2 pixels wide.
    outside->setContentsMargins(m.left() + 2, 0, m.right() + 2, 0);
}

void bold(ui::ResultField* f) {
    f->setFont(toolkit::ofont(true));
}

// A field inside a framed group is polished by the group's style sheet when it is first shown,
// which would reset colours set before; polishing it first makes them stick.
void highlight(ui::ResultField* f, bool on) {
    f->ensurePolished();
    if (on)
        f->setColors(kWhite, kMagenta);
    else
        f->setColors(normal_text(), normal_background());
}

void best(ui::ResultField* f) {
    f->setColors(kWhite, kBlue);
}

void grey_when_zero(ui::ResultField* f) {
    f->ensurePolished();
    const bool zero = f->value() == 0;
    f->setEnabled(!zero);
    f->setColors(zero ? kGrey : normal_text(), normal_background());
}

int current_year() {
    return core::today().year;
}

}  // namespace vestral::calc::look
