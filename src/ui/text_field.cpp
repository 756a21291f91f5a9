#include "ui/text_field.h"

#include <QRegularExpression>

#include <QKeyEvent>

namespace vestral::ui {

TextField::TextField(int max_chars, QWidget* parent) : InputField(parent) {
    setMaxLength(max_chars);
}

bool TextField::clearsOnFirstKey(const QKeyEvent* e) const {
    const QString t = e->text();
    return !t.isEmpty() && t[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

DateField::DateField(QWidget* parent) : InputField(parent) {
    setAlignment(Qt::AlignCenter);
    setInputMask("99.99.9999");
    setMinimumWidth(fontMetrics().horizontalAdvance("00.00.00000"));
}

void DateField::setDate(core::Date d) {
    date_ = d;
    accepted_ = d;
    form_ok_ = true;
    redraw();
}

void DateField::setCheck(Check check) {
    if (!check) {
        setMessageCheck({});
        return;
    }
    setMessageCheck([this, check = std::move(check)]() -> std::optional<QString> {
        if (auto msg = core::inpfail_message(check(date_))) return QString::fromStdString(*msg);
        return std::nullopt;
    });
}

void DateField::commit() {
    if (empty_allowed_ && !text().contains(QRegularExpression("[0-9]"))) {
        form_ok_ = true;
        if (date_.empty()) return;
        date_ = {};
        emit dateChanged(date_);
        return;
    }
    const auto d = core::parse_date(text().toStdString());
    form_ok_ = d.has_value();
    if (!d || *d == date_) return;
    date_ = *d;
    emit dateChanged(date_);
}

void DateField::redraw() {
    // An invalid entry stays as typed so that it can be mended.
    if (form_ok_) setText(QString::fromStdString(core::format_date(date_)));
}

std::optional<QString> DateField::formMessage() {
    if (form_ok_) return std::nullopt;
    return QString("Bitte geben Sie ein gültiges Datum (TT.MM.JJJJ) ein.");
}

bool DateField::clearsOnFirstKey(const QKeyEvent* e) const {
    const QString t = e->text();
    return !t.isEmpty() && t[0].isDigit();
}

}  // namespace vestral::ui
