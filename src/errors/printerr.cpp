#include "errors/printerr.h"

#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/files.h"
#include "core/ini.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "errors/error_log.h"
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"

namespace vestral::errors {

namespace {

constexpr size_t kPrintWidth = 70;
constexpr int kLinesPerPage = 50;

// Byte length of the first `chars` UTF-8 characters of `s`.
size_t utf8_prefix(std::string_view s, size_t chars) {
    size_t i = 0, n = 0;
    while (i < s.size() && n < chars) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++n;
    }
    return i;
}

bool print_log(QWidget* parent, const fs::path& log) {
    auto text = core::read_file(log);
    if (!text) return false;
    return toolkit::print_job_with_dialog(parent, log_print_job(*text));
}

bool mail_log(QWidget* parent, const fs::path& dir, const fs::path& log) {
    const auto& s = core::settings();
    core::IniFile request(core::resolve_ci(dir, kMailRequest));
    request.set_many("Main", {{"BodyFile", fs::absolute(log).string()},
                              {"Address", s.cs_email},
                              {"Subject", "Programmfehler in " + s.pcrelease1 + s.pcrelease2}});
    fs::path program = core::resolve_ci(dir, kMailProgram);
    int rc = toolkit::run_program(QString::fromStdString(program.string()), {},
                                  QString::fromStdString(dir.string()));
    (void)parent;
    return rc == 0;
}

class PrintErrDialog : public QDialog {
  public:
    PrintErrDialog(QWidget* parent, const fs::path& dir) : QDialog(parent), dir_(dir) {
        const auto& s = core::settings();
        setObjectName("PrintErrDialog");
        setWindowTitle("Programmfehler");
        setModal(true);
        setFont(toolkit::map_font("Ms Sans Serif", 8));
        setFixedSize(330, 205);

        auto* picture = new QLabel(this);
        picture->setObjectName("bild");
        picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));

        auto* bold =
            new QLabel(QString::fromStdString("Es ist ein Laufzeitfehler aufgetreten. Das Programm " +
                                              s.pcrelease1 + " wird beendet!"),
                       this);
        bold->setObjectName("meldung");
        bold->setWordWrap(true);
        QFont bf = toolkit::map_font("Ms Sans Serif", 8, true);
        bold->setFont(bf);
        auto* choose =
            new QLabel("Wählen Sie nun, wie Sie mit dem Fehlerprotokoll verfahren möchten !", this);
        choose->setObjectName("frage");
        choose->setWordWrap(true);

        delete_ = new QRadioButton(" &Löschen und vergessen :-(", this);
        delete_->setObjectName("loeschen");
        print_ = new QRadioButton(QString(" &Drucken - an Faxdrucker ") + core::maker::kFax, this);
        print_->setObjectName("drucken");
        mail_ = new QRadioButton(QString::fromStdString(" &Email-Versand an " + s.cs_email), this);
        mail_->setObjectName("email");
        // Without a support address there is nobody to send the log to: no half sentence, no choice.
        mail_->setVisible(!core::trim(s.cs_email).empty());
        delete_->setChecked(true);
        auto* group = new QButtonGroup(this);
        group->addButton(delete_);
        group->addButton(print_);
        group->addButton(mail_);

        auto* weiter = new QPushButton("&Weiter", this);
        weiter->setObjectName("weiter");
        weiter->setDefault(true);
        auto* hilfe = new QPushButton("&Hilfe", this);
        hilfe->setObjectName("hilfe");
        hilfe->setAutoDefault(false);
        auto* abbrechen = new QPushButton("&Abbrechen", this);
        abbrechen->setObjectName("abbrechen");
        abbrechen->setAutoDefault(false);
        connect(weiter, &QPushButton::clicked, this, [this] { proceed(); });
        connect(hilfe, &QPushButton::clicked, this,
                [this] { toolkit::help::show_contents(this, "VESTRAL"); });
        connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);

        auto* texts = new QVBoxLayout;
        texts->addWidget(bold);
        texts->addWidget(choose);
        auto* top = new QHBoxLayout;
        top->addWidget(picture, 0, Qt::AlignTop);
        top->addLayout(texts, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(weiter);
        buttons->addWidget(hilfe);
        buttons->addWidget(abbrechen);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addWidget(delete_);
        layout->addWidget(print_);
        layout->addWidget(mail_);
        layout->addLayout(buttons);
    }

  private:
    void proceed() {
        auto log = find_log(dir_);
        if (log) {
            if (delete_->isChecked()) {
                delete_log(dir_);
            } else if (print_->isChecked()) {
                if (print_log(this, *log))
                    delete_log(dir_);
                else
                    toolkit::warning(this, "Programmfehler", kNotSentText);
            } else if (toolkit::ask_yes_no(this, "Email-Versand",
                                           "Möchten Sie das Fehlerprotokoll nun per Email versenden ?",
                                           false)) {
                if (mail_log(this, dir_, *log))
                    delete_log(dir_);
                else
                    toolkit::warning(this, "Programmfehler", kNotSentText);
            } else {
                delete_log(dir_);
            }
        }
        accept();
    }

    fs::path dir_;
    QRadioButton* delete_;
    QRadioButton* print_;
    QRadioButton* mail_;
};

}  // namespace

std::vector<std::string> split_log_lines(std::string_view text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        bool last = end == std::string_view::npos;
        std::string_view l = text.substr(start, last ? std::string_view::npos : end - start);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (l.empty()) out.emplace_back();
        while (!l.empty()) {
            size_t n = utf8_prefix(l, kPrintWidth);
            out.emplace_back(l.substr(0, n));
            l.remove_prefix(n);
        }
        if (last) break;
        start = end + 1;
    }
    return out;
}

toolkit::PrintJob log_print_job(std::string_view text) {
    toolkit::PrintJob job;
    job.name = "Error.log";
    job.rows = 60;
    job.cols = 80;
    std::vector<std::string> lines = split_log_lines(text);
    int on_page = 0;
    job.new_page();
    for (const auto& l : lines) {
        if (on_page == kLinesPerPage) {
            job.new_page();
            on_page = 0;
        }
        // One line height is a sixtieth of the page; the first line sits at the very top.
        job.text(on_page, 8, l, toolkit::PrintFont{"Arial", 10, false});
        ++on_page;
    }
    return job;
}

void printerr(QWidget* parent) {
    VESTRAL_OP("PRINTERR");
    fs::path dir = core::settings().dir;
    if (!find_log(dir)) return;
    PrintErrDialog dialog(parent, dir);
    dialog.exec();
}

}  // namespace vestral::errors
