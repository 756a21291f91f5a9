// The wait cursor while a table is prepared or a plan is computed.
#pragma once

#include <QApplication>
#include <QCursor>

namespace vestral::toolkit {

class WaitCursor {
  public:
    WaitCursor() {
        if (qApp) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor() {
        if (qApp) QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace vestral::toolkit
