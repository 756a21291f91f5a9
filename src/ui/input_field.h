// What every input field of a calculator dialog shares: input colours, the help text in the status
// bar, Tab and Enter leaving the field, the check run when the field is left (with its message and
// the focus kept), the guard that stops two failing fields from taking the focus from each other,
// and the last accepted value that closing saves instead of a refused one.
#pragma once

#include <QLineEdit>
#include <QString>
#include <functional>
#include <optional>

namespace vestral::ui {

class InputField : public QLineEdit {
    Q_OBJECT
  public:
    explicit InputField(QWidget* parent = nullptr);

    void setHelpText(const QString& text) { help_ = text; }
    const QString& helpText() const { return help_; }

    // The message of the field's check for what it holds now, or nothing when it passes.
    using MessageCheck = std::function<std::optional<QString>()>;

    // Takes over what is typed so far (as leaving the field would), without the check.
    virtual void commit() = 0;
    // Shows the taken-over value in the form for the field's state (editing or display).
    virtual void redraw() = 0;

    // Runs the check on the taken-over value: true when it passes; otherwise shows the message
    // (when asked) and returns false. Records the outcome (failed()); a passing value becomes the
    // last accepted one.
    bool runCheck(bool show_message = true);
    bool failed() const { return failed_; }

    // Remembers what the field holds as accepted (a value loaded or set by the program).
    void markAccepted() {
        rememberAccepted();
        failed_ = false;
    }
    // Puts back the last accepted value (closing never saves a refused one).
    void revertToAccepted() {
        restoreAccepted();
        failed_ = false;
        redraw();
    }

    // Takes the focus back after a failed check, with the whole content selected so that the
    // next value typed replaces it.
    void refocus();

    // True while some enabled field within `root` has a failed check.
    static bool anyFailed(const QWidget* root);
    // The input field of `root` that has the keyboard focus, if any.
    static InputField* focused(const QWidget* root);

  signals:
    void edited();              // every key that edits the field, and Tab or Enter in it
    void checked(bool passed);  // the field was left and checked

  protected:
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

    // The check (set by the subclasses' typed setters).
    void setMessageCheck(MessageCheck check) { check_ = std::move(check); }
    // Steps before the check when the field is left (some dialogs redraw another value first).
    std::function<void()> before_check_;
    // Whether this first key after entering clears the old content ("@K" masks).
    virtual bool clearsOnFirstKey(const QKeyEvent* e) const = 0;
    virtual bool replacesOnFirstKey() const { return true; }
    // A check run when the field is left, before the bound check (a date's form); returns its
    // message.
    virtual std::optional<QString> formMessage() { return std::nullopt; }
    virtual void rememberAccepted() = 0;
    virtual void restoreAccepted() = 0;
    // After a passed check on leaving.
    virtual void afterLeave() {}

    bool first_key_pending_ = false;

  private:
    QString help_;
    MessageCheck check_;
    bool failed_ = false;
};

}  // namespace vestral::ui
