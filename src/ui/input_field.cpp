#include "ui/input_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include "core/inpfail.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/status.h"
#include "ui/blocks.h"

namespace vestral::ui {

namespace {
// While a failed field takes the focus back, no other field is checked, and the field getting the
// focus back is not checked again; without this two failing fields bounce message boxes between
// each other for ever.
bool g_in_check = false;
QPointer<InputField> g_refocus;

bool leaves(int key) {
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter;
}
}  // namespace

InputField::InputField(QWidget* parent) : QLineEdit(parent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color(core::ProgramSettings::kColB));
    pal.setColor(QPalette::Text, color(core::ProgramSettings::kColF));
    setPalette(pal);
    connect(this, &QLineEdit::textEdited, this, [this](const QString&) { emit edited(); });
}

bool InputField::runCheck(bool show_message) {
    std::optional<QString> msg = formMessage();
    QString title = "Eingabefehler";
    if (!msg && check_) {
        msg = check_();
        title = QString::fromUtf8(core::inpfail_title());
    }
    failed_ = msg.has_value();
    if (!failed_) {
        rememberAccepted();
        return true;
    }
    if (show_message) {
        const bool was = g_in_check;
        g_in_check = true;
        toolkit::warning(window(), title, *msg);
        g_in_check = was;
    }
    return false;
}

void InputField::refocus() {
    g_refocus = this;
    QPointer<InputField> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self) return;
        self->setFocus(Qt::OtherFocusReason);
        self->selectAll();
    });
}

bool InputField::anyFailed(const QWidget* root) {
    for (InputField* f : root->findChildren<InputField*>())
        if (f->failed_ && f->isEnabled()) return true;
    return false;
}

InputField* InputField::focused(const QWidget* root) {
    auto* f = qobject_cast<InputField*>(QApplication::focusWidget());
    return f && root->isAncestorOf(f) ? f : nullptr;
}

void InputField::focusInEvent(QFocusEvent* e) {
    if (g_refocus == this) g_refocus = nullptr;
    QLineEdit::focusInEvent(e);
    redraw();
    const Qt::FocusReason r = e->reason();
    if (r == Qt::TabFocusReason || r == Qt::BacktabFocusReason || r == Qt::OtherFocusReason ||
        r == Qt::ShortcutFocusReason) {
        // Entered from the keyboard: the first digit typed replaces the whole content.
        selectAll();
        first_key_pending_ = false;
    } else {
        setCursorPosition(0);
        first_key_pending_ = replacesOnFirstKey();
    }
    toolkit::show_status(help_);
}

void InputField::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) {
        // Another window took the focus (a message box, a menu): nothing is left yet.
        return;
    }
    commit();
    redraw();
    toolkit::show_status(QString());
    if (g_in_check || (g_refocus && g_refocus != this)) return;
    if (before_check_) before_check_();
    const bool ok = runCheck(true);
    if (ok)
        afterLeave();
    else
        refocus();
    emit checked(ok);
}

// Tab and Backtab move the focus before keyPressEvent would see them, so they are caught here.
bool InputField::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            emit edited();
            first_key_pending_ = false;
        }
    }
    return QLineEdit::event(e);
}

void InputField::keyPressEvent(QKeyEvent* e) {
    if (leaves(e->key())) {
        emit edited();
        first_key_pending_ = false;
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            // Enter leaves the field, as Tab does; it does not press the default button.
            focusNextChild();
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
        return;
    }
    // Alt+letter without a button of that accelerator types nothing.
    if (e->modifiers() & Qt::AltModifier) {
        e->ignore();
        return;
    }
    if (first_key_pending_) {
        first_key_pending_ = false;
        if (clearsOnFirstKey(e)) {
            clear();
            setCursorPosition(0);
        }
    }
    QLineEdit::keyPressEvent(e);
}

}  // namespace vestral::ui
