#include "errors/error_dialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "toolkit/fonts.h"

namespace vestral::errors {

ErrorDialog::ErrorDialog(const DialogInfo& info, bool tall, QWidget* parent) : QDialog(parent) {
    setObjectName("ErrorDialog");
    setWindowTitle(info.title);
    setModal(true);
    setFont(toolkit::map_font("Ms Sans Serif", 10));
    setMinimumSize(300, tall ? 250 : 200);

    auto* picture = new QLabel(this);
    picture->setObjectName("bild");
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto* message = new QLabel("   Fehlerbeschreibung: " + info.message, this);
    message->setObjectName("beschreibung");
    message->setFrameStyle(QFrame::Box | QFrame::Plain);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(message, 1);

    auto* stack_label = new QLabel("&Stackliste", this);
    stack_label->setObjectName("stacklabel");
    auto* see_log = new QLabel("Siehe Error.log Datei", this);
    see_log->setObjectName("siehe");
    auto* labels = new QHBoxLayout;
    labels->addWidget(stack_label);
    labels->addStretch(1);
    labels->addWidget(see_log);

    auto* list = new QListWidget(this);
    list->setObjectName("stackliste");
    list->addItems(info.stack);
    stack_label->setBuddy(list);

    auto make = [this](const char* name, const QString& text, Choice c) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, c] {
            choice_ = c;
            if (c == Choice::Ende)
                reject();
            else
                accept();
        });
        return b;
    };
    QPushButton* ende = make("ende", "&Ende", Choice::Ende);
    QPushButton* retry = info.can_retry ? make("wiederholen", "&Wiederholen", Choice::Wiederholen) : nullptr;
    QPushButton* deflt = info.can_default ? make("default", "&Default", Choice::Default) : nullptr;

    auto* buttons = new QHBoxLayout;
    if (!retry && !deflt) {
        buttons->addStretch(1);
        buttons->addWidget(ende);
        buttons->addStretch(1);
    } else if (!retry || !deflt) {
        buttons->addWidget(ende);
        buttons->addStretch(1);
        buttons->addWidget(retry ? retry : deflt);
    } else {
        buttons->addWidget(retry);
        buttons->addStretch(1);
        buttons->addWidget(ende);
        buttons->addStretch(1);
        buttons->addWidget(deflt);
    }
    if ((!retry && !deflt) || (retry && deflt)) {
        ende->setDefault(true);
        ende->setFocus();
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    if (tall) layout->addSpacing(18);
    layout->addLayout(labels);
    layout->addWidget(list, 1);
    if (tall) layout->addSpacing(6);
    layout->addLayout(buttons);

    // The close box and Escape end the program like "Ende".
    connect(this, &QDialog::rejected, this, [this] { choice_ = Choice::Ende; });
}

}  // namespace vestral::errors
