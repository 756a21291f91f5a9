// Text and date inputs of the calculator dialogs ("@K" masks): the first typed character
// replaces the old content, the help text shows in the status bar, every edit is reported.
#pragma once

#include <QLineEdit>
#include <functional>

#include "core/clock.h"
#include "core/inpfail.h"

namespace vestral::ui {

class TextField : public QLineEdit {
    Q_OBJECT
public:
    TextField(int max_chars, QWidget* parent = nullptr);
    void setHelpText(const QString& text) { help_ = text; }

signals:
    void edited();  // every key that edits the field, and Tab or Enter in it

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QString help_;
    bool first_key_pending_ = false;
};

// A date "dd.mm.yyyy", centred. An invalid or incomplete entry is answered with a message and
// keeps the focus, like a failed bound check.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);
    core::Date date() const { return date_; }
    void setDate(core::Date d);
    void setHelpText(const QString& text) { help_ = text; }
    bool failed() const { return failed_; }
    // A bound check on the valid date (e.g. on its year), run when the field is left, with the
    // "Eingabefehler" message and the focus kept like a numeric field's check.
    using Check = std::function<core::InpFail(core::Date)>;
    void setCheck(Check check) { check_ = std::move(check); }

signals:
    void edited();
    void dateChanged(core::Date d);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    core::Date date_;
    QString help_;
    Check check_;
    bool first_key_pending_ = false;
    bool failed_ = false;
};

}  // namespace vestral::ui
