#include "ui/text_field.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/status.h"
#include "ui/blocks.h"

namespace vestral::ui {

namespace {
void input_colours(QLineEdit* e) {
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, color(core::ProgramSettings::kColB));
    pal.setColor(QPalette::Text, color(core::ProgramSettings::kColF));
    e->setPalette(pal);
}

bool leaves(int key) {
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter;
}
}  // namespace

InputLine::InputLine(QWidget* parent) : QLineEdit(parent) {
    input_colours(this);
    connect(this, &QLineEdit::textEdited, this, [this](const QString&) { emit edited(); });
}

void InputLine::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    first_key_pending_ = true;
    setCursorPosition(0);
    toolkit::show_status(help_);
}

void InputLine::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        toolkit::show_status(QString());
}

void InputLine::keyPressEvent(QKeyEvent* e) {
    if (leaves(e->key())) {
        emit edited();
        first_key_pending_ = false;
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            focusNextChild();
            return;
        }
        QLineEdit::keyPressEvent(e);
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

TextField::TextField(int max_chars, QWidget* parent) : InputLine(parent) { setMaxLength(max_chars); }

bool TextField::clearsOnFirstKey(const QKeyEvent* e) const {
    const QString t = e->text();
    return !t.isEmpty() && t[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

DateField::DateField(QWidget* parent) : InputLine(parent) {
    setAlignment(Qt::AlignCenter);
    setInputMask("99.99.9999");
    setMinimumWidth(fontMetrics().horizontalAdvance("00.00.00000"));
}

void DateField::setDate(core::Date d) {
    date_ = d;
    setText(QString::fromStdString(core::format_date(d)));
}

void DateField::focusOutEvent(QFocusEvent* e) {
    InputLine::focusOutEvent(e);
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    auto d = core::parse_date(text().toStdString());
    failed_ = !d;
    if (!d) {
        toolkit::warning(window(), "Eingabefehler", "Bitte geben Sie ein gültiges Datum (TT.MM.JJJJ) ein.");
        QPointer<DateField> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self) self->setFocus(Qt::OtherFocusReason);
        });
        return;
    }
    if (!(*d == date_)) {
        date_ = *d;
        emit dateChanged(date_);
    }
    setDate(date_);
    if (check_) {
        auto msg = core::inpfail_message(check_(date_));
        if (msg) {
            failed_ = true;
            toolkit::warning(window(), core::inpfail_title(), QString::fromStdString(*msg));
            QPointer<DateField> self(this);
            QTimer::singleShot(0, this, [self] {
                if (self) self->setFocus(Qt::OtherFocusReason);
            });
        }
    }
}

bool DateField::clearsOnFirstKey(const QKeyEvent* e) const {
    const QString t = e->text();
    return !t.isEmpty() && t[0].isDigit();
}

}  // namespace vestral::ui
