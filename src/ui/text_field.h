// Text and date inputs of the calculator dialogs ("@K" masks): the first typed character
// replaces the old content, the help text shows in the status bar, every edit is reported.
#pragma once

#include <functional>

#include "core/clock.h"
#include "core/inpfail.h"
#include "ui/input_field.h"

namespace vestral::ui {

class TextField : public InputField {
    Q_OBJECT
  public:
    TextField(int max_chars, QWidget* parent = nullptr);
    void commit() override {}
    void redraw() override {}
    // A text set by the program (loaded): accepted as it is.
    void setAcceptedText(const QString& t) {
        setText(t);
        markAccepted();
    }

  protected:
    bool clearsOnFirstKey(const QKeyEvent* e) const override;
    void rememberAccepted() override { accepted_ = text(); }
    void restoreAccepted() override { setText(accepted_); }

  private:
    QString accepted_;
};

// A date "dd.mm.yyyy", centred. An invalid or incomplete entry is answered with a message and
// keeps the focus, like a failed bound check.
class DateField : public InputField {
    Q_OBJECT
  public:
    explicit DateField(QWidget* parent = nullptr);
    core::Date date() const { return date_; }
    // A date set by the program (loaded): shown, and accepted as it is.
    void setDate(core::Date d);
    // A bound check on the valid date (e.g. on its year), run when the field is left, with the
    // "Eingabefehler" message and the focus kept like a numeric field's check.
    using Check = std::function<core::InpFail(core::Date)>;
    void setCheck(Check check);
    // An emptied field is taken over as the empty date instead of being refused (for dates the
    // calculator itself tests when it computes).
    void setEmptyAllowed(bool yes) { empty_allowed_ = yes; }

    void commit() override;
    void redraw() override;

  signals:
    void dateChanged(core::Date d);

  protected:
    bool clearsOnFirstKey(const QKeyEvent* e) const override;
    std::optional<QString> formMessage() override;
    void rememberAccepted() override { accepted_ = date_; }
    // The accepted date is always a valid one: an unfinished entry goes with it.
    void restoreAccepted() override {
        date_ = accepted_;
        form_ok_ = true;
    }

  private:
    core::Date date_;
    core::Date accepted_;
    bool form_ok_ = true;
    bool empty_allowed_ = false;
};

}  // namespace vestral::ui
