// The modal dialog of the fault handler: the fault message, the call list and the buttons the
// fault allows.
#pragma once

#include <QDialog>

#include "errors/errorsys.h"

namespace vestral::errors {

class ErrorDialog : public QDialog {
  public:
    ErrorDialog(const DialogInfo& info, bool tall, QWidget* parent = nullptr);
    Choice choice() const { return choice_; }

  private:
    Choice choice_ = Choice::Ende;
};

}  // namespace vestral::errors
