// The validated numeric input field every calculator dialog uses: shown with its picture mask,
// edited without thousands points, checked against its bounds when it is left.
#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>

#include "core/inpfail.h"
#include "core/mask.h"

namespace vestral::ui {

class NumericField : public QLineEdit {
    Q_OBJECT
public:
    explicit NumericField(const QString& mask, QWidget* parent = nullptr);

    double value() const { return value_; }
    core::Num num() const { return {value_, mask_.decimals()}; }
    void setValue(double v);  // redraws
    // What the field holds right now: the typed text while it has the focus (so enabling rules can
    // follow every key), otherwise the value taken over when it was left.
    double liveValue() const;
    const core::Mask& mask() const { return mask_; }

    void setHelpText(const QString& text) { help_ = text; }
    const QString& helpText() const { return help_; }

    // The bound check run when the field is left: given the value, it returns the check's name,
    // bounds and typical values (bounds may be other values of the dialog, read at that moment).
    using Check = std::function<core::InpFail(double value)>;
    void setCheck(Check check) { check_ = std::move(check); }
    // Steps before the check (some calculators redraw another value first).
    void setBeforeCheck(std::function<void()> f) { before_check_ = std::move(f); }

    // INPFAIL: true when the value is within its bounds; otherwise shows the "Eingabefehler"
    // message (when asked) and returns false. Records the outcome (failed()).
    bool runCheck(bool show_message = true);
    bool failed() const { return failed_; }

    // Takes over what is typed so far (as leaving the field would), without the check.
    void commit();

    // True while some field's failed check holds the focus; buttons other than "Schließen" and
    // "Hilfe" do nothing then.
    static bool anyFailed(const QWidget* within);

signals:
    void edited();                // every key that edits the field, and Tab or Enter in it
    void valueChanged(double v);  // a new value was taken over
    void checked(bool passed);    // the field was left and checked

protected:
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void redraw();
    bool acceptChar(QChar c);

    core::Mask mask_;
    double value_ = 0;
    QString help_;
    Check check_;
    std::function<void()> before_check_;
    bool first_key_pending_ = false;
    bool failed_ = false;
};

}  // namespace vestral::ui
