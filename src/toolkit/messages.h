// Every message box of the program goes through here, so tests can script the answers and
// assert the exact text, title and buttons.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vestral::toolkit {

enum class MsgKind { Warning, Information, Stop, Question };
enum class MsgAnswer { Ok, Yes, No };

struct MsgRequest {
    MsgKind kind = MsgKind::Information;
    QString title;
    QString text;
    bool default_yes = true;  // questions only: the preselected answer
};

// A scripted answerer replaces the real boxes (tests); returns the previous one.
using MsgScript = std::function<MsgAnswer(const MsgRequest&)>;
MsgScript set_message_script(MsgScript script);

MsgAnswer message(QWidget* parent, const MsgRequest& request);
void warning(QWidget* parent, const QString& title, const QString& text);
void information(QWidget* parent, const QString& title, const QString& text);
void stop(QWidget* parent, const QString& title, const QString& text);
bool ask_yes_no(QWidget* parent, const QString& title, const QString& text, bool default_yes);

// Qt's own dialogs (file, print, its buttons and boxes) speak German: the German locale as
// default and Qt's German translations, installed once per run. Called before such dialogs open.
void use_german_qt();

// The texts of the program use "\r" line breaks in places; the boxes show "\n".
QString box_text(const QString& text);

}  // namespace vestral::toolkit
