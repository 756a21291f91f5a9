// Steps the calculator dialog tests share: open a calculator and act in its modal dialog, read a
// field's text, press a button, and check that nothing in a dialog is cut off.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <ostream>

#include "support/gui_fixture.h"

// Failed comparisons of texts show the text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace vestral::test {

class CalculatorTest : public GuiTest {
  protected:
    // Runs `body` in the modal dialog named `object_name` that `launch` opens (active, as a user
    // sees it), then closes it with its button `close` when it is still open. Fails when the
    // dialog never showed.
    static void inDialog(const char* object_name, const std::function<void()>& launch,
                         const std::function<void(QWidget*)>& body, const char* close = "closeButton") {
        bool ran = false;
        whenModal(
            [&ran, body, close](QWidget* dlg) {
                QApplication::setActiveWindow(dlg);
                (void)QTest::qWaitForWindowActive(dlg);
                ran = true;
                body(dlg);
                if (dlg->isVisible())
                    if (auto* b = dlg->findChild<QPushButton*>(close)) b->click();
            },
            object_name);
        launch();
        EXPECT_TRUE(ran) << object_name << " did not open";
        // The offscreen platform has no window manager that hands the activation back to the
        // dialog that opened this one.
        if (QWidget* outer = QApplication::activeModalWidget()) {
            outer->activateWindow();
            QApplication::processEvents();
        }
    }

    // The rows of a table of the program directory as a second program (dbfread) sees them: one
    // line a record, the named fields joined by ";".
    std::string dbfRows(const char* table, const char* fields) const {
        int rc = 0;
        std::string out = run_python("import dbfread\nt = dbfread.DBF(r'" +
                                         (dir() / (std::string(table) + ".DBF")).string() +
                                         "', encoding='cp1252')\nfor r in t:\n"
                                         "    print(';'.join(str(r[f]).strip() for f in '" +
                                         fields + "'.split()))\n",
                                     &rc);
        EXPECT_EQ(rc, 0) << out;
        return out;
    }
};

// Types over a field's content as a user who comes to it by Tab (a programmatic click leaves the
// focus where a real click would have moved it, so the content is selected here explicitly);
// typeOver stays in the field (to press an accelerator there), enter leaves it with Tab.
inline void typeOver(QWidget* field, const QString& text, bool leave = false) {
    field->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    typeInto(field, text, leave);
}
inline void enter(QWidget* field, const QString& text) {
    typeOver(field, text, true);
}
inline void enter(QWidget* dlg, const char* name, const QString& text) {
    enter(find<QWidget>(dlg, name), text);
}

inline QString textOf(QWidget* dlg, const char* name) {
    return find<QLineEdit>(dlg, name)->text();
}
inline QPushButton* buttonOf(QWidget* dlg, const char* name) {
    return find<QPushButton>(dlg, name);
}

// Every label and field gets at least the room it asks for.
inline void expectNothingCut(QWidget* dlg) {
    for (QWidget* w : dlg->findChildren<QWidget*>()) {
        if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w))) continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
    }
}

}  // namespace vestral::test
