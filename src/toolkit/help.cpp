#include "toolkit/help.h"

#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include "core/files.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/shell.h"

namespace vestral::toolkit::help {

namespace {
QString& topic_slot() {
    static QString t = kMainTopic;
    return t;
}
QString& file_slot() {
    static QString f = "VESTRAL";
    return f;
}
Recorder& recorder_slot() {
    static Recorder r;
    return r;
}

QString help_path(const QString& base) {
    std::filesystem::path info = core::resolve_ci(default_files_dir(), "info");
    return QString::fromStdString(core::resolve_ci(info, (base + ".html").toStdString()).string());
}

// The non-modal help window: keyword index with a search field on the left, the topic on the right.
class HelpWindow : public QWidget {
  public:
    HelpWindow() : QWidget(nullptr, Qt::Window) {
        setObjectName("helpWindow");
        setAttribute(Qt::WA_DeleteOnClose);
        resize(820, 560);
        auto* split = new QSplitter(this);
        auto* left = new QWidget(split);
        auto* lv = new QVBoxLayout(left);
        lv->setContentsMargins(4, 4, 4, 4);
        lv->addWidget(new QLabel("&Stichwort suchen:", left));
        search_ = new QLineEdit(left);
        search_->setObjectName("helpSearch");
        static_cast<QLabel*>(lv->itemAt(0)->widget())->setBuddy(search_);
        lv->addWidget(search_);
        index_ = new QListWidget(left);
        index_->setObjectName("helpIndex");
        lv->addWidget(index_);
        browser_ = new QTextBrowser(split);
        browser_->setObjectName("helpBrowser");
        browser_->setOpenLinks(false);
        split->addWidget(left);
        split->addWidget(browser_);
        split->setStretchFactor(1, 3);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(split);
        connect(search_, &QLineEdit::textChanged, this, [this](const QString& t) { filter(t); });
        connect(search_, &QLineEdit::returnPressed, this, [this] {
            QListWidgetItem* it = index_->currentItem();
            if (it && !it->isHidden()) open_item(it);
        });
        search_->installEventFilter(this);
        connect(index_, &QListWidget::itemActivated, this, [this](QListWidgetItem* it) { open_item(it); });
        connect(index_, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) { open_item(it); });
        connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { follow(url); });
    }

    bool load(const QString& base) {
        if (base == base_ && !topics_.empty()) return true;
        QFile f(help_path(base));
        if (!f.open(QIODevice::ReadOnly)) return false;
        topics_ = parse_help_file(QString::fromUtf8(f.readAll()));
        base_ = base;
        setWindowTitle(QString::fromStdString(core::settings().pcrelease1) + " - Hilfe (" + base + ")");
        index_->clear();
        for (size_t i = 0; i < topics_.size(); ++i)
            for (const QString& k : topics_[i].keywords) {
                auto* it = new QListWidgetItem(k, index_);
                it->setData(Qt::UserRole, static_cast<int>(i));
            }
        index_->sortItems();
        return !topics_.empty();
    }

    bool show_topic(const QString& title) {
        for (const auto& t : topics_)
            if (t.title.compare(title, Qt::CaseInsensitive) == 0) {
                browser_->setHtml(t.html);
                return true;
            }
        return false;
    }
    void show_first() {
        if (!topics_.empty()) browser_->setHtml(topics_.front().html);
    }
    void focus_index() {
        search_->clear();
        search_->setFocus();
    }
    const QString& base() const { return base_; }

  private:
    // Typing narrows the index; the first entry found is highlighted and shown at once, so what
    // the list highlights and what the page shows never differ.
    void filter(const QString& text) {
        QListWidgetItem* first = nullptr;
        for (int i = 0; i < index_->count(); ++i) {
            auto* it = index_->item(i);
            it->setHidden(!it->text().contains(text, Qt::CaseInsensitive));
            if (!first && !it->isHidden()) first = it;
        }
        index_->setCurrentItem(first);
        if (!first) index_->clearSelection();
        if (first && !text.isEmpty()) open_item(first);
    }
    // Up and Down in the search field move the highlight among the entries found.
    void step(int direction) {
        int row = index_->currentRow();
        for (int i = row + direction; i >= 0 && i < index_->count(); i += direction) {
            if (index_->item(i)->isHidden()) continue;
            index_->setCurrentRow(i);
            open_item(index_->item(i));
            return;
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == search_ && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Down || key == Qt::Key_Up) {
                step(key == Qt::Key_Down ? 1 : -1);
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }
    void open_item(QListWidgetItem* it) {
        int i = it->data(Qt::UserRole).toInt();
        if (i >= 0 && static_cast<size_t>(i) < topics_.size())
            browser_->setHtml(topics_[static_cast<size_t>(i)].html);
    }
    void follow(const QUrl& url) {
        QString s = url.toString();
        if (s.startsWith("topic:")) {
            QString target = QUrl::fromPercentEncoding(s.mid(6).toUtf8());
            int hash = target.indexOf('#');
            if (hash >= 0) {
                QString base = help_base_name(target.left(hash));
                if (load(base)) show_topic(target.mid(hash + 1));
            } else {
                show_topic(target);
            }
            return;
        }
        // Only web and mail addresses leave the program; nothing local is started from a help page.
        if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto")
            QDesktopServices::openUrl(url);
    }

    QString base_;
    std::vector<Topic> topics_;
    QLineEdit* search_;
    QListWidget* index_;
    QTextBrowser* browser_;
};

QPointer<HelpWindow>& window_slot() {
    static QPointer<HelpWindow> w;
    return w;
}

void open(QWidget* parent, const Request& r) {
    if (recorder_slot() && recorder_slot()(r)) return;
    if (!window_slot()) window_slot() = new HelpWindow();
    HelpWindow* w = window_slot();
    if (!w->load(r.file)) {
        information(parent, "Hilfe",
                    "Die Hilfedatei \"" + r.file + "\" wurde nicht gefunden.\nThema: " +
                        (r.topic.isEmpty() ? QString("Inhalt") : r.topic));
        w->close();
        return;
    }
    if (r.mode == Mode::Topic) {
        if (!w->show_topic(r.topic)) w->show_first();
    } else {
        w->show_first();
    }
    w->show();
    w->raise();
    w->activateWindow();
    if (r.mode == Mode::Index) w->focus_index();
}
}  // namespace

std::vector<Topic> parse_help_file(const QString& content) {
    static const QRegularExpression marker(R"(<!--\s*topic:\s*(.*?)\s*\|\s*keywords:\s*(.*?)\s*-->)");
    std::vector<Topic> topics;
    auto it = marker.globalMatch(content);
    std::vector<QRegularExpressionMatch> matches;
    while (it.hasNext()) matches.push_back(it.next());
    for (size_t i = 0; i < matches.size(); ++i) {
        const auto& m = matches[i];
        Topic t;
        t.title = m.captured(1).trimmed();
        t.keywords << t.title;
        for (const QString& k : m.captured(2).split(';', Qt::SkipEmptyParts))
            if (!k.trimmed().isEmpty() && !t.keywords.contains(k.trimmed())) t.keywords << k.trimmed();
        qsizetype start = m.capturedEnd(0);
        qsizetype end = i + 1 < matches.size() ? matches[i + 1].capturedStart(0) : content.size();
        t.html = content.mid(start, end - start).trimmed();
        topics.push_back(std::move(t));
    }
    return topics;
}

QString help_base_name(const QString& help_file) {
    QString f = help_file;
    f.replace('\\', '/');
    f = f.section('/', -1);
    int dot = f.lastIndexOf('.');
    if (dot > 0) f = f.left(dot);
    return f;
}

void set_topic(const QString& t) {
    topic_slot() = t;
}
QString topic() {
    return topic_slot();
}
void set_file(const QString& help_file) {
    file_slot() = help_base_name(help_file);
}
QString file() {
    return file_slot();
}

Recorder set_recorder(Recorder r) {
    Recorder old = std::move(recorder_slot());
    recorder_slot() = std::move(r);
    return old;
}

void show_current(QWidget* parent) {
    open(parent, {file(), topic(), Mode::Topic});
}

void show_topic(QWidget* parent, const QString& help_file, const QString& t) {
    open(parent, {help_base_name(help_file), t, Mode::Topic});
}

void show_contents(QWidget* parent, const QString& help_file) {
    open(parent, {help_base_name(help_file), QString(), Mode::Contents});
}

void show_index(QWidget* parent, const QString& help_file) {
    open(parent, {help_base_name(help_file), QString(), Mode::Index});
}

}  // namespace vestral::toolkit::help
