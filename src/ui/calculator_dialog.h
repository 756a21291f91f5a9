// The one shape of every calculator dialog. A calculator describes its form as data (fields with
// mask, label, unit, status text, tooltip and bound check; result fields; buttons with their
// role) and arranges the made widgets in its own layout; the base does the rest the same way for
// every calculator:
// - typing replaces a field's content; a field is checked when it is left, with the message and
//   the focus kept; two failing fields never take the focus from each other;
// - "Berechnen" (role Compute) checks every field first, loaded values too, and the first failing
//   field gets its message and the focus; any other button first checks the field that holds the
//   focus (an accelerator leaves it there);
// - any edit invalidates the results: result fields cleared, result buttons disabled, an open
//   chart closed, until the next successful computation;
// - closing (button, Escape, close box) saves the last accepted value of each field, never a
//   refused one;
// - the dialog sets its help topic and gives the caller's back; it lies fully on the screen;
// - no exception from a handler crosses the event loop.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/inpfail.h"
#include "ui/bar_chart.h"

class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;
class QGroupBox;
class QColor;
class QBoxLayout;
class QLabel;
class QPushButton;

namespace vestral::toolkit::help {
class TopicScope;
}

namespace vestral::ui {

class InputField;
class NumericField;
class TextField;
class DateField;
class ResultField;

enum class FieldKind { Number, Text, Date };

struct FieldSpec {
    const char* name;        // object name; how the dialog and its tests refer to the field
    const char* label = "";  // "\r" breaks the line
    const char* unit = "";
    const char* mask = "";  // Number: the picture mask
    const char* help = "";  // status-bar text while the field has the focus
    int check = 0;          // number of the field's bound check (CalculatorDialog::check), 0: none
    FieldKind kind = FieldKind::Number;
    int max_chars = 40;  // Text
    const char* tooltip = "";
};

struct ResultSpec {
    const char* name;
    const char* label = "";
    const char* unit = "";
    const char* mask = "@E 999,999,999.99 ";
};

enum class ButtonRole {
    Compute,  // checks every field first; enabled while canCompute() holds and no check failed
    Result,   // works on the results (Tabelle, Grafik, Drucken): enabled only while they exist
    Action,   // any other button (Laden): checks the field holding the focus first
    Help,     // shows the current help topic; acts even while a check fails
    Close,    // closes the dialog; acts even while a check fails
};

struct ButtonSpec {
    const char* name;
    const char* text;  // with its "&" accelerator
    const char* tooltip = "";
    const char* status = "";  // status-bar text while the button has the focus
    ButtonRole role = ButtonRole::Action;
};

enum class Placement {
    CenterOnMain,  // centred on the main window
    BelowMain,     // `dy` below and `dx` right of the main window's top-left corner
};

struct FormSpec {
    const char* object_name;
    const char* title;
    const char* help_topic = "";  // "" keeps the caller's topic
    std::vector<FieldSpec> fields;
    std::vector<ResultSpec> results;
    std::vector<ButtonSpec> buttons;
    int height = 0, width = 0;  // the least size; a layout that needs more room gets it
    Placement placement = Placement::CenterOnMain;
    int dy = 50, dx = 50;
};

class CalculatorDialog : public QDialog {
    Q_OBJECT
  public:
    CalculatorDialog(QWidget* parent, FormSpec form);
    ~CalculatorDialog() override;

    // Loads the inputs (load()), places the dialog and runs it.
    int exec() override;

    // The widgets made from the form description, by name.
    InputField* field(const char* name) const;
    NumericField* number(const char* name) const;
    TextField* text(const char* name) const;
    DateField* date(const char* name) const;
    ResultField* result(const char* name) const;
    QPushButton* button(const char* name) const;

    bool hasResults() const { return has_results_; }
    // The chart windows opened from this dialog that are still open.
    std::vector<QWidget*> openCharts() const;

    // "Berechnen": every field's check in the order of their numbers; the first failing field
    // shows its message and gets the focus. True when all pass.
    bool checkAll();

  protected:
    // --- what a calculator supplies ---------------------------------------------------------
    // The bound check number `n` on the values the fields hold now.
    virtual core::InpFail check(int n) const;
    // The enabling rule of the Compute buttons (besides "no failed check").
    virtual bool canCompute() const { return true; }
    // Fills the fields when the dialog opens (settings or store); the values count as accepted.
    virtual void load() {}
    // Saves the inputs when the dialog closes, however it closes.
    virtual void save() {}
    // The results no longer belong to the inputs: clear what the calculator keeps (work table,
    // rows). The result fields are cleared by the base.
    virtual void clearResults() {}
    // Extra enabling beyond the roles (called at the end of updateButtons()).
    virtual void updateExtra() {}

    // --- wiring -----------------------------------------------------------------------------
    // The button's action; the role decides what runs first.
    void onClick(const char* name, std::function<void()> action);
    // Results exist (after a successful computation) or not.
    void setHasResults(bool yes);
    // An input changed: results cleared, result buttons disabled, charts closed.
    void invalidate();
    void updateButtons();
    // Runs a handler with the exception guard.
    void guarded(const std::function<void()>& action);
    // Opens a chart window beside this dialog; it closes when the results go.
    QWidget* showChart(const ChartArgs& args);
    // The field's help text in the status bar while `w` (a radio button, a list) has the focus.
    void statusHint(QWidget* w, const QString& text);

    // --- layout helpers ---------------------------------------------------------------------
    // Label, field (or result) and unit of `name` at `row`, from column `column` on.
    void addRow(QGridLayout* grid, int row, const char* name, int column = 0);
    // A grid of such rows, one per name, in order.
    QGridLayout* rowsGrid(std::initializer_list<const char*> names);
    // The buttons in a row: `left` from the left edge, `right` at the right edge.
    QHBoxLayout* buttonRow(std::initializer_list<const char*> left,
                           std::initializer_list<const char*> right = {});
    // The buttons in a column: `top` from the top edge, `bottom` at the bottom edge.
    QVBoxLayout* buttonColumn(std::initializer_list<const char*> top,
                              std::initializer_list<const char*> bottom = {});
    // A framed group titled `title` with a row for each result of the form, in order.
    QGroupBox* resultsGroup(const QString& title, const QColor& frame, QWidget* parent);
    QLabel* labelOf(const char* name) const;
    QLabel* unitOf(const char* name) const;
    const FormSpec& form() const { return form_; }

    void done(int result) override;

  private:
    void makeField(const FieldSpec& f);
    void makeResult(const ResultSpec& r);
    void makeButton(const ButtonSpec& b);
    void place();
    void finish();

    FormSpec form_;
    std::unique_ptr<toolkit::help::TopicScope> topic_;
    std::map<QString, InputField*> fields_;
    std::map<QString, ResultField*> results_;
    std::map<QString, QPushButton*> buttons_;
    std::map<QString, ButtonRole> roles_;
    std::map<QString, QLabel*> labels_, units_;
    std::vector<QPointer<QWidget>> charts_;
    bool has_results_ = false;
    bool loaded_ = false;
    bool finished_ = false;
};

}  // namespace vestral::ui
