#include "ui/numeric_field.h"

#include <QKeyEvent>
#include <QValidator>

namespace vestral::ui {

namespace {
// Takes only what the mask can show: digits, one decimal separator, a leading minus, no more
// integer digits or decimals than the picture holds. Typing and pasting alike go through it.
class MaskValidator : public QValidator {
  public:
    MaskValidator(const core::Mask& mask, QObject* parent)
        : QValidator(parent),
          sep_(mask.european ? ',' : '.'),
          ints_(mask.integer_digits()),
          decs_(mask.decimals()) {}

    State validate(QString& input, int&) const override {
        int ints = 0, decs = 0;
        bool seen_sep = false;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c == ' ') continue;
            if (c == '-' && i == 0) continue;
            if (c == sep_ || (sep_ == ',' && c == '.')) {
                if (seen_sep || decs_ == 0) return Invalid;
                seen_sep = true;
                continue;
            }
            if (!c.isDigit()) return Invalid;
            if (seen_sep)
                ++decs;
            else
                ++ints;
        }
        // Leading zeros take no room of the picture.
        if (ints > ints_) {
            const QString digits = input.section(sep_, 0, 0).remove('-').remove(' ');
            int significant = digits.size();
            for (QChar c : digits) {
                if (c != '0' || significant == 1) break;
                --significant;
            }
            if (significant > ints_) return Invalid;
        }
        return decs > decs_ ? Invalid : Acceptable;
    }

  private:
    QChar sep_;
    int ints_, decs_;
};
}  // namespace

NumericField::NumericField(const QString& mask, QWidget* parent)
    : InputField(parent), mask_(core::Mask::parse(mask.toStdString())) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int chars = static_cast<int>(mask_.picture.size()) + 2;
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(chars, '0')));
    setValidator(new MaskValidator(mask_, this));
    redraw();
}

void NumericField::setValue(double v) {
    value_ = core::round_to(v, mask_.decimals());
    if (value_ == 0) value_ = 0;
    accepted_ = value_;
    redraw();
}

void NumericField::setCheck(Check check) {
    if (!check) {
        setMessageCheck({});
        return;
    }
    setMessageCheck([this, check = std::move(check)]() -> std::optional<QString> {
        core::InpFail c = check(value_);
        c.value = value_;
        if (auto msg = core::inpfail_message(c)) return QString::fromStdString(*msg);
        return std::nullopt;
    });
}

double NumericField::liveValue() const {
    if (!hasFocus()) return value_;
    return mask_.parse_input(text().toStdString()).value;
}

void NumericField::redraw() {
    if (hasFocus())
        setText(QString::fromStdString(core::trim(mask_.format_for_edit(value_))));
    else
        setText(QString::fromStdString(core::trim(mask_.format(value_))));
}

void NumericField::commit() {
    const core::Num n = mask_.parse_input(text().toStdString());
    const double old = value_;
    value_ = n.value;
    if (old != value_) emit valueChanged(value_);
}

bool NumericField::clearsOnFirstKey(const QKeyEvent* e) const {
    const QString t = e->text();
    if (t.isEmpty()) return false;
    const QChar c = t[0];
    return c.isDigit() || c == '-' || c == ',' || c == '.';
}

void NumericField::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    const bool is_sep = e->key() == Qt::Key_Comma || e->key() == Qt::Key_Period ||
                        (!t.isEmpty() && (t[0] == ',' || t[0] == '.'));
    if (!is_sep || (e->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
        InputField::keyPressEvent(e);
        return;
    }
    // Either separator key types the mask's decimal separator; whole numbers take none.
    if (mask_.decimals() == 0) return;
    if (!mask_.european && t == ",") return;
    if (first_key_pending_) {
        first_key_pending_ = false;
        clear();
    }
    const QChar sep = mask_.european ? ',' : '.';
    QString rest = text();
    if (hasSelectedText()) rest.remove(selectionStart(), selectedText().size());
    if (rest.contains(sep)) return;  // a second separator is refused
    insert(QString(sep));
    emit edited();
}

}  // namespace vestral::ui
