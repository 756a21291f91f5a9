#include "ui/calculator_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/text_field.h"

namespace vestral::ui {

CalculatorDialog::CalculatorDialog(QWidget* parent, FormSpec form) : QDialog(parent), form_(std::move(form)) {
    setObjectName(form_.object_name);
    setWindowTitle(QString::fromUtf8(form_.title));
    setFont(toolkit::ofont());
    if (*form_.help_topic)
        topic_ = std::make_unique<toolkit::help::TopicScope>(QString::fromUtf8(form_.help_topic));
    for (const FieldSpec& f : form_.fields) makeField(f);
    for (const ResultSpec& r : form_.results) makeResult(r);
    for (const ButtonSpec& b : form_.buttons) makeButton(b);
}

CalculatorDialog::~CalculatorDialog() {
    for (const QPointer<QWidget>& c : charts_)
        if (c) c->close();
}

void CalculatorDialog::makeField(const FieldSpec& f) {
    InputField* w = nullptr;
    switch (f.kind) {
        case FieldKind::Number: {
            auto* n = new NumericField(QString::fromUtf8(f.mask), this);
            if (f.check) {
                const int k = f.check;
                n->setCheck([this, k](double) { return check(k); });
            }
            w = n;
            break;
        }
        case FieldKind::Text:
            w = new TextField(f.max_chars, this);
            break;
        case FieldKind::Date: {
            auto* d = new DateField(this);
            if (f.check) {
                const int k = f.check;
                d->setCheck([this, k](core::Date) { return check(k); });
            }
            w = d;
            break;
        }
    }
    w->setObjectName(f.name);
    w->setHelpText(QString::fromUtf8(f.help));
    if (*f.tooltip) w->setToolTip(QString::fromUtf8(f.tooltip));
    connect(w, &InputField::edited, this, [this] { guarded([this] { invalidate(); }); });
    connect(w, &InputField::checked, this, [this](bool) { guarded([this] { updateButtons(); }); });
    fields_[f.name] = w;
    if (*f.label) {
        QLabel* l = ui::label(QString::fromUtf8(f.label), this);
        l->setBuddy(w);
        labels_[f.name] = l;
    }
    if (*f.unit) units_[f.name] = ui::label(QString::fromUtf8(f.unit), this);
}

void CalculatorDialog::makeResult(const ResultSpec& r) {
    auto* w = new ResultField(QString::fromUtf8(r.mask), this);
    w->setObjectName(r.name);
    results_[r.name] = w;
    if (*r.label) labels_[r.name] = ui::label(QString::fromUtf8(r.label), this);
    if (*r.unit) units_[r.name] = ui::label(QString::fromUtf8(r.unit), this);
}

void CalculatorDialog::makeButton(const ButtonSpec& b) {
    const bool always = b.role == ButtonRole::Help || b.role == ButtonRole::Close;
    QPushButton* w = ui::button(this, b.name, QString::fromUtf8(b.text), QString::fromUtf8(b.tooltip),
                                QString::fromUtf8(b.status), always);
    buttons_[b.name] = w;
    roles_[b.name] = b.role;
    if (b.role == ButtonRole::Help) onClick(b.name, [this] { toolkit::help::show_current(this); });
    if (b.role == ButtonRole::Close) onClick(b.name, [this] { reject(); });
}

void CalculatorDialog::onClick(const char* name, std::function<void()> action) {
    QPushButton* b = button(name);
    switch (roles_.at(name)) {
        case ButtonRole::Help:
        case ButtonRole::Close:
            // A button given an action of its own replaces the standard one.
            b->disconnect(SIGNAL(clicked(bool)));
            on_click_always(b, std::move(action));
            break;
        case ButtonRole::Compute:
            on_click_always(b, [this, action = std::move(action)] {
                if (checkAll()) action();
                updateButtons();
            });
            break;
        case ButtonRole::Result:
        case ButtonRole::Action:
            on_click(b, std::move(action));
            break;
    }
}

InputField* CalculatorDialog::field(const char* name) const {
    auto it = fields_.find(name);
    return it == fields_.end() ? nullptr : it->second;
}
NumericField* CalculatorDialog::number(const char* name) const {
    return qobject_cast<NumericField*>(field(name));
}
TextField* CalculatorDialog::text(const char* name) const {
    return qobject_cast<TextField*>(field(name));
}
DateField* CalculatorDialog::date(const char* name) const {
    return qobject_cast<DateField*>(field(name));
}
ResultField* CalculatorDialog::result(const char* name) const {
    auto it = results_.find(name);
    return it == results_.end() ? nullptr : it->second;
}
QPushButton* CalculatorDialog::button(const char* name) const {
    auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}
QLabel* CalculatorDialog::labelOf(const char* name) const {
    auto it = labels_.find(name);
    return it == labels_.end() ? nullptr : it->second;
}
QLabel* CalculatorDialog::unitOf(const char* name) const {
    auto it = units_.find(name);
    return it == units_.end() ? nullptr : it->second;
}

core::InpFail CalculatorDialog::check(int) const {
    return {};
}

bool CalculatorDialog::checkAll() {
    // What is typed in the focused field counts (an accelerator leaves it there).
    if (InputField* f = InputField::focused(this)) {
        f->commit();
        f->redraw();
    }
    std::vector<std::pair<int, InputField*>> checked;
    for (const FieldSpec& s : form_.fields)
        if (s.check && fields_.at(s.name)->isEnabled()) checked.emplace_back(s.check, fields_.at(s.name));
    std::stable_sort(checked.begin(), checked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [n, f] : checked) {
        if (f->runCheck(true)) continue;
        f->refocus();
        // Nothing computed belongs to refused inputs.
        invalidate();
        return false;
    }
    return true;
}

void CalculatorDialog::setHasResults(bool yes) {
    has_results_ = yes;
    updateButtons();
}

void CalculatorDialog::invalidate() {
    has_results_ = false;
    for (auto& [name, r] : results_) r->setValue(0);
    for (const QPointer<QWidget>& c : charts_)
        if (c) c->close();
    charts_.clear();
    clearResults();
    updateButtons();
}

void CalculatorDialog::updateButtons() {
    const bool failed = InputField::anyFailed(this);
    for (auto& [name, b] : buttons_) {
        switch (roles_.at(name)) {
            case ButtonRole::Compute:
                b->setEnabled(!failed && canCompute());
                break;
            case ButtonRole::Result:
                b->setEnabled(has_results_);
                break;
            default:
                break;
        }
    }
    updateExtra();
}

void CalculatorDialog::guarded(const std::function<void()>& action) {
    run_guarded(this, action);
}

QWidget* CalculatorDialog::showChart(const ChartArgs& args) {
    for (const QPointer<QWidget>& c : charts_)
        if (c) c->close();
    charts_.clear();
    QWidget* w = barsingle(args, this);
    charts_.emplace_back(w);
    return w;
}

std::vector<QWidget*> CalculatorDialog::openCharts() const {
    std::vector<QWidget*> out;
    for (const QPointer<QWidget>& c : charts_)
        if (c && c->isVisible()) out.push_back(c);
    return out;
}

void CalculatorDialog::statusHint(QWidget* w, const QString& text) {
    status_hint(w, text);
}

void CalculatorDialog::addRow(QGridLayout* grid, int row, const char* name, int column) {
    QWidget* w = field(name);
    if (!w) w = result(name);
    if (QLabel* l = labelOf(name)) grid->addWidget(l, row, column);
    grid->addWidget(w, row, column + 1);
    if (QLabel* u = unitOf(name)) grid->addWidget(u, row, column + 2);
}

QGridLayout* CalculatorDialog::rowsGrid(std::initializer_list<const char*> names) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    int row = 0;
    for (const char* n : names) addRow(grid, row++, n);
    return grid;
}

QHBoxLayout* CalculatorDialog::buttonRow(std::initializer_list<const char*> left,
                                         std::initializer_list<const char*> right) {
    auto* row = new QHBoxLayout;
    for (const char* n : left) row->addWidget(button(n));
    row->addStretch();
    for (const char* n : right) row->addWidget(button(n));
    return row;
}

QVBoxLayout* CalculatorDialog::buttonColumn(std::initializer_list<const char*> top,
                                            std::initializer_list<const char*> bottom) {
    auto* column = new QVBoxLayout;
    for (const char* n : top) column->addWidget(button(n));
    column->addStretch();
    for (const char* n : bottom) column->addWidget(button(n));
    return column;
}

QGroupBox* CalculatorDialog::resultsGroup(const QString& title, const QColor& frame, QWidget* parent) {
    QGroupBox* group = framed_group(title, frame, parent);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const ResultSpec& r : form_.results) addRow(grid, row++, r.name);
    grid->setColumnStretch(1, 1);
    // The frame's style sheet stops the dialog's font from reaching its contents.
    for (QWidget* w : group->findChildren<QWidget*>()) w->setFont(font());
    return group;
}

int CalculatorDialog::exec() {
    if (!loaded_) {
        loaded_ = true;
        guarded([this] {
            load();
            for (auto& [name, f] : fields_) f->markAccepted();
            updateButtons();
        });
        place();
    }
    // Modal to the windows it belongs to, so that its own chart windows stay usable.
    if (parentWidget()) setWindowModality(Qt::WindowModal);
    return QDialog::exec();
}

void CalculatorDialog::place() {
    const QSize least = QSize(form_.width, form_.height).expandedTo(minimumSizeHint()).expandedTo(sizeHint());
    if (form_.placement == Placement::BelowMain)
        place_below_main(this, form_.dy, form_.dx, least.height(), least.width());
    else
        center_on_main(this, least.height(), least.width());
}

void CalculatorDialog::done(int result) {
    if (!finished_) {
        finished_ = true;
        guarded([this] { finish(); });
    }
    QDialog::done(result);
}

void CalculatorDialog::finish() {
    // What is typed in the focused field counts as left; a value that fails its check is never
    // saved: the field's last accepted value is.
    if (InputField* f = InputField::focused(this)) f->commit();
    for (auto& [name, f] : fields_)
        if (!f->runCheck(false)) f->revertToAccepted();
    for (const QPointer<QWidget>& c : charts_)
        if (c) c->close();
    save();
}

}  // namespace vestral::ui
