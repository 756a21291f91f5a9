// Text and date inputs of the calculator dialogs ("@K" masks): the first typed character
// replaces the old content, the help text shows in the status bar, every edit is reported.
#pragma once

#include <QLineEdit>
#include <functional>

#include "core/clock.h"
#include "core/inpfail.h"

namespace vestral::ui {

// What text and date fields share: input colours, the help text in the status bar, Tab and Enter
// leaving the field (Enter does not press the default button), and "@K": the first character typed
// after the field got the focus replaces the old content.
class InputLine : public QLineEdit {
    Q_OBJECT
public:
    explicit InputLine(QWidget* parent = nullptr);
    void setHelpText(const QString& text) { help_ = text; }

signals:
    void edited();  // every key that edits the field, and Tab or Enter in it

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Whether this first key clears the old content.
    virtual bool clearsOnFirstKey(const QKeyEvent* e) const = 0;

private:
    QString help_;
    bool first_key_pending_ = false;
};

class TextField : public InputLine {
    Q_OBJECT
public:
    TextField(int max_chars, QWidget* parent = nullptr);

protected:
    bool clearsOnFirstKey(const QKeyEvent* e) const override;
};

// A date "dd.mm.yyyy", centred. An invalid or incomplete entry is answered with a message and
// keeps the focus, like a failed bound check.
class DateField : public InputLine {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);
    core::Date date() const { return date_; }
    void setDate(core::Date d);
    bool failed() const { return failed_; }
    // A bound check on the valid date (e.g. on its year), run when the field is left, with the
    // "Eingabefehler" message and the focus kept like a numeric field's check.
    using Check = std::function<core::InpFail(core::Date)>;
    void setCheck(Check check) { check_ = std::move(check); }

signals:
    void dateChanged(core::Date d);

protected:
    void focusOutEvent(QFocusEvent* e) override;
    bool clearsOnFirstKey(const QKeyEvent* e) const override;

private:
    core::Date date_;
    Check check_;
    bool failed_ = false;
};

}  // namespace vestral::ui
