#include "support/gui_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "core/clock.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"

namespace vestral::test {

void GuiTest::SetUp() {
    QFile::copy(QString(VESTRAL_SOURCE_DIR) + "/data/VESTRAL.INI", QString::fromStdString((dir_ / "VESTRAL.INI").string()));
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
    // The pending timer owns the poll; the poll itself holds it weakly, so nothing is left once
    // the body has run.
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> weak = poll;
    std::string want = cls ? cls : "";
    *poll = [body, weak, want] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (want.empty() || modal->inherits(want.c_str()) || modal->objectName().toStdString() == want)) {
            body(modal);
            return;
        }
        if (auto again = weak.lock()) QTimer::singleShot(10, [again] { (*again)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

void typeInto(QWidget* w, const QString& text, bool leave) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(w, text);
    if (leave) {
        QTest::keyClick(w, Qt::Key_Tab);
        QApplication::processEvents();
    }
}

}  // namespace vestral::test
