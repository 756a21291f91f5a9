#include "toolkit/status.h"

namespace vestral::toolkit {

namespace {
StatusSink& sink() {
    static StatusSink s;
    return s;
}
QString& last() {
    static QString s;
    return s;
}
}  // namespace

void set_status_sink(StatusSink s) {
    sink() = std::move(s);
}

void show_status(const QString& text) {
    last() = text;
    if (sink()) sink()(text);
}

QString last_status() {
    return last();
}

}  // namespace vestral::toolkit
