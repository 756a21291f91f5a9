#include "support/gui_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "core/clock.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"

namespace vestral::test {

namespace {
// Pollers still waiting when a test ends; removed then, so none fires in a later test.
std::vector<QPointer<QTimer>>& pending_pollers() {
    static std::vector<QPointer<QTimer>> p;
    return p;
}
}  // namespace

void GuiTest::SetUp() {
    QFile::copy(QString(VESTRAL_SOURCE_DIR) + "/data/VESTRAL.INI",
                QString::fromStdString((dir_ / "VESTRAL.INI").string()));
    QFile::setPermissions(QString::fromStdString((dir_ / "VESTRAL.INI").string()),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    core::settings() = core::ProgramSettings{};
    core::settings().dir = dir_.path();
    core::setpublics(core::settings(), false);
    toolkit::set_message_script([this](const toolkit::MsgRequest& r) {
        messages_.push_back(r);
        if (r.kind != toolkit::MsgKind::Question) return toolkit::MsgAnswer::Ok;
        if (answers_.empty()) return toolkit::MsgAnswer::Yes;
        auto a = answers_.front();
        answers_.pop_front();
        return a;
    });
    toolkit::help::set_recorder([this](const toolkit::help::Request& r) {
        help_.push_back(r);
        return true;
    });
    toolkit::set_open_recorder([this](const QString& what) {
        opened_.push_back(what);
        return true;
    });
    toolkit::set_print_recorder([this](const toolkit::PrintJob& job) {
        printed_.push_back(job);
        return true;
    });
    toolkit::help::set_topic(toolkit::help::kMainTopic);
    toolkit::help::set_file("VESTRAL");
}

void GuiTest::TearDown() {
    for (auto& t : pending_pollers()) delete t.data();
    pending_pollers().clear();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) w->close();
    }
    QApplication::processEvents();
    toolkit::set_message_script({});
    toolkit::help::set_recorder({});
    toolkit::set_open_recorder({});
    toolkit::set_print_recorder({});
    core::set_today_for_tests({});
}

void GuiTest::whenModal(std::function<void(QWidget*)> body, const char* cls) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    std::string want = cls ? cls : "";
    QObject::connect(timer, &QTimer::timeout, timer, [timer, body, want] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal &&
            (want.empty() || modal->inherits(want.c_str()) || modal->objectName().toStdString() == want)) {
            timer->stop();
            timer->deleteLater();
            body(modal);
        }
    });
    pending_pollers().emplace_back(timer);
    timer->start();
}

void typeInto(QWidget* w, const QString& text, bool leave) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    for (QChar c : text) {
        // QTest knows key codes of ASCII characters only; umlauts go in as text.
        if (c.unicode() < 128)
            QTest::keyClick(w, static_cast<char>(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    if (leave) {
        QTest::keyClick(w, Qt::Key_Tab);
        QApplication::processEvents();
    }
}

}  // namespace vestral::test
