#include "toolkit/messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace vestral::toolkit {

namespace {
MsgScript& script_slot() {
    static MsgScript s;
    return s;
}
}  // namespace

MsgScript set_message_script(MsgScript script) {
    MsgScript old = std::move(script_slot());
    script_slot() = std::move(script);
    return old;
}

QString box_text(const QString& text) {
    QString t = text;
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

MsgAnswer message(QWidget* parent, const MsgRequest& request) {
    MsgRequest r = request;
    r.text = box_text(r.text);
    if (script_slot()) return script_slot()(r);
    QMessageBox box(parent);
    box.setWindowTitle(r.title);
    box.setText(r.text);
    switch (r.kind) {
        case MsgKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgKind::Stop:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgKind::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    if (r.kind == MsgKind::Question) {
        QPushButton* yes = box.addButton(QObject::tr("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QObject::tr("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton(r.default_yes ? yes : no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

void warning(QWidget* parent, const QString& title, const QString& text) {
    message(parent, {MsgKind::Warning, title, text, true});
}

void information(QWidget* parent, const QString& title, const QString& text) {
    message(parent, {MsgKind::Information, title, text, true});
}

void stop(QWidget* parent, const QString& title, const QString& text) {
    message(parent, {MsgKind::Stop, title, text, true});
}

bool ask_yes_no(QWidget* parent, const QString& title, const QString& text, bool default_yes) {
    return message(parent, {MsgKind::Question, title, text, default_yes}) == MsgAnswer::Yes;
}

void use_german_qt() {
    static bool done = false;
    if (done || !QCoreApplication::instance()) return;
    done = true;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::German), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace vestral::toolkit
