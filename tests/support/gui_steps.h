// Steps the calculator dialog tests share: open a calculator and act in its modal dialog, read a
// field's text, press a button, and check that nothing in a dialog is cut off.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    // Runs `body` in the modal dialog named `object_name` that `launch` opens, then closes it with
    // its "closeButton" when it is still open. Fails when the dialog never showed.
    static void inDialog(const char* object_name, const std::function<void()>& launch,
                         const std::function<void(QWidget*)>& body) {
        bool ran = false;
        whenModal(
            [&ran, body](QWidget* dlg) {
                ran = true;
                body(dlg);
                if (dlg->isVisible())
                    if (auto* close = dlg->findChild<QPushButton*>("closeButton")) close->click();
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
};

// Types into a field as a user who comes to it by Tab and replaces its content. A programmatic
// click leaves the focus in the field where a real click would have moved it to the button, so a
// field that has the focus already gets its content selected first.
inline void enter(QWidget* field, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field); edit && edit->hasFocus()) edit->selectAll();
    typeInto(field, text);
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
