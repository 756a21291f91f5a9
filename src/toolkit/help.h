// Help: the current help file and topic of the program, and the program's own help window, which
// shows the HTML help files in info/ (one per help file: VESTRAL, Lexikon, Tips, Links).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;

namespace vestral::toolkit::help {

inline const char* kMainTopic = "Hauptauswahl";

struct Topic {
    QString title;
    QStringList keywords;  // the title is one of them
    QString html;
};

// Splits a help file at its "<!-- topic: Title | keywords: a; b -->" lines; the first topic is
// the contents page.
std::vector<Topic> parse_help_file(const QString& content);

// "VESTRAL.HLP", "Lexikon.Hlp", "info\\Tips.Hlp", "Links" -> "VESTRAL", "Lexikon", ...
QString help_base_name(const QString& help_file);

void set_topic(const QString& topic);
QString topic();
void set_file(const QString& help_file);  // the current help file (VESTRAL by default)
QString file();

// Sets a dialog's topic for its lifetime and afterwards puts back the topic that was current
// before, so a calculator started from inside another leaves its caller's F1 topic in place.
class TopicScope {
  public:
    explicit TopicScope(const QString& t) : previous_(topic()) { set_topic(t); }
    ~TopicScope() { set_topic(previous_); }
    TopicScope(const TopicScope&) = delete;
    TopicScope& operator=(const TopicScope&) = delete;

  private:
    QString previous_;
};

enum class Mode { Topic, Contents, Index };
struct Request {
    QString file;  // base name, e.g. "VESTRAL"
    QString topic;
    Mode mode = Mode::Topic;
};
// Tests see every request here; the window is still opened unless the recorder returns true.
using Recorder = std::function<bool(const Request&)>;
Recorder set_recorder(Recorder r);

void show_current(QWidget* parent);  // F1 and every "&Hilfe" button
void show_topic(QWidget* parent, const QString& help_file, const QString& topic);
void show_contents(QWidget* parent, const QString& help_file);
void show_index(QWidget* parent, const QString& help_file);

}  // namespace vestral::toolkit::help
