#include "ui/numeric_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/status.h"
#include "ui/blocks.h"
#include "ui/text_field.h"

namespace vestral::ui {

namespace {
// Guards against two failing fields bouncing message boxes between each other: while a failed
// field takes the focus back, no other field is checked, and the field getting the focus back is
// not checked again.
bool g_in_check = false;
QPointer<NumericField> g_refocus;
}  // namespace

NumericField::NumericField(const QString& mask, QWidget* parent)
    : QLineEdit(parent), mask_(core::Mask::parse(mask.toStdString())) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color(core::ProgramSettings::kColB));
    pal.setColor(QPalette::Text, color(core::ProgramSettings::kColF));
    setPalette(pal);
    int chars = static_cast<int>(mask_.picture.size()) + 2;
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(chars, '0')));
    connect(this, &QLineEdit::textEdited, this, [this](const QString&) { emit edited(); });
    redraw();
}

void NumericField::setValue(double v) {
    value_ = core::round_to(v, mask_.decimals());
    if (value_ == 0) value_ = 0;
    redraw();
}

double NumericField::liveValue() const {
    if (!hasFocus()) return value_;
    return mask_.parse_input(text().toStdString()).value;
}

void NumericField::redraw() {
    if (hasFocus()) setText(QString::fromStdString(core::trim(mask_.format_for_edit(value_))));
    else setText(QString::fromStdString(core::trim(mask_.format(value_))));
}

void NumericField::commit() {
    core::Num n = mask_.parse_input(text().toStdString());
    double old = value_;
    value_ = n.value;
    if (old != value_) emit valueChanged(value_);
}

bool NumericField::runCheck(bool show_message) {
    failed_ = false;
    if (!check_) return true;
    core::InpFail c = check_(value_);
    c.value = value_;
    auto msg = core::inpfail_message(c);
    if (!msg) return true;
    failed_ = true;
    if (show_message) {
        bool was = g_in_check;
        g_in_check = true;
        toolkit::warning(window(), core::inpfail_title(), QString::fromStdString(*msg));
        g_in_check = was;
    }
    return false;
}

bool NumericField::anyFailed(const QWidget* within) {
    for (NumericField* f : within->findChildren<NumericField*>())
        if (f->failed_ && f->isEnabled()) return true;
    for (DateField* f : within->findChildren<DateField*>())
        if (f->failed() && f->isEnabled()) return true;
    return false;
}

void NumericField::focusInEvent(QFocusEvent* e) {
    if (g_refocus == this) g_refocus = nullptr;
    QLineEdit::focusInEvent(e);
    first_key_pending_ = mask_.replace_on_first_key;
    redraw();
    setCursorPosition(0);
    toolkit::show_status(help_);
}

void NumericField::focusOutEvent(QFocusEvent* e) {
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
    bool ok = runCheck(true);
    if (!ok) {
        g_refocus = this;
        QPointer<NumericField> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self) self->setFocus(Qt::OtherFocusReason);
        });
    }
    emit checked(ok);
}

// Tab and Backtab move the focus before keyPressEvent would see them, so they are caught here.
bool NumericField::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            emit edited();
            first_key_pending_ = false;
        }
    }
    return QLineEdit::event(e);
}

bool NumericField::acceptChar(QChar c) {
    if (c.isDigit()) return true;
    if (c == '-') return text().isEmpty() || cursorPosition() == 0 || hasSelectedText();
    return false;
}

void NumericField::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit edited();
        first_key_pending_ = false;
        // Enter leaves the field, as Tab does; it does not press the default button.
        focusNextChild();
        e->accept();
        return;
    }
    const QString t = e->text();
    const bool is_sep = key == Qt::Key_Comma || key == Qt::Key_Period ||
                        (!t.isEmpty() && (t[0] == ',' || t[0] == '.'));
    const bool printable = !t.isEmpty() && t[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable || is_sep) {
        bool data = is_sep || acceptChar(t.isEmpty() ? QChar() : t[0]) || (!t.isEmpty() && t[0] == '-');
        if (first_key_pending_) {
            first_key_pending_ = false;
            if (data) {
                setText(QString());
            }
        }
        if (is_sep) {
            if (mask_.decimals() == 0) return;  // whole numbers take no separator
            const QChar sep = mask_.european ? ',' : '.';
            QString cur = text();
            if (hasSelectedText()) cur.remove(selectionStart(), selectedText().size());
            if (cur.contains(sep)) return;  // a second separator is refused
            if (!mask_.european && t == ",") return;
            insert(QString(sep));
            emit edited();
            return;
        }
        if (!acceptChar(t[0])) return;
        QLineEdit::keyPressEvent(e);
        return;
    }
    // Cursor and editing keys leave the old content in place.
    first_key_pending_ = false;
    QLineEdit::keyPressEvent(e);
}

}  // namespace vestral::ui
