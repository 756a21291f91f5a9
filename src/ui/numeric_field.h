// The validated numeric input field every calculator dialog uses: shown with its picture mask,
// edited without thousands points, checked against its bounds when it is left.
#pragma once

#include <functional>

#include "core/inpfail.h"
#include "core/mask.h"
#include "ui/input_field.h"

namespace vestral::ui {

class NumericField : public InputField {
    Q_OBJECT
  public:
    explicit NumericField(const QString& mask, QWidget* parent = nullptr);

    double value() const { return value_; }
    core::Num num() const { return {value_, mask_.decimals()}; }
    // A value set by the program (loaded, coupled): shown, and accepted as it is.
    void setValue(double v);
    // What the field holds right now: the typed text while it has the focus (so enabling rules can
    // follow every key), otherwise the value taken over when it was left.
    double liveValue() const;
    const core::Mask& mask() const { return mask_; }
    double acceptedValue() const { return accepted_; }

    // The bound check run when the field is left: given the value, it returns the check's name,
    // bounds and typical values (bounds may be other values of the dialog, read at that moment).
    using Check = std::function<core::InpFail(double value)>;
    void setCheck(Check check);
    // Steps before the check (some calculators redraw another value first).
    void setBeforeCheck(std::function<void()> f) { before_check_ = std::move(f); }

    void commit() override;
    void redraw() override;

    static bool anyFailed(const QWidget* within) { return InputField::anyFailed(within); }

  signals:
    void valueChanged(double v);  // a new value was taken over

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool clearsOnFirstKey(const QKeyEvent* e) const override;
    bool replacesOnFirstKey() const override { return mask_.replace_on_first_key; }
    void rememberAccepted() override { accepted_ = value_; }
    void restoreAccepted() override { value_ = accepted_; }

  private:
    core::Mask mask_;
    double value_ = 0;
    double accepted_ = 0;
};

}  // namespace vestral::ui
