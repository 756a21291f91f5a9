#include "support/gui_export.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/core_tempdir.h"

namespace vestral::test {

toolkit::SaveFileRequest export_grid(QWidget* grid_dialog, const std::filesystem::path& file) {
    toolkit::SaveFileRequest asked;
    toolkit::SaveFileScript old = toolkit::set_save_file_script([&](const toolkit::SaveFileRequest& r) {
        asked = r;
        return file.empty() ? QString() : QString::fromStdString(file.string());
    });
    auto* button = grid_dialog->findChild<QPushButton*>("exportButton");
    EXPECT_NE(button, nullptr) << "no export button";
    if (button) QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    toolkit::set_save_file_script(std::move(old));
    return asked;
}

namespace {
std::string py_text(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\\' || c == '\'') out += '\\';
        out += c;
    }
    return out + "'";
}
}  // namespace

std::string compare_csv_with_table(const std::filesystem::path& csv, const std::filesystem::path& table,
                                   const std::string& where, const std::vector<CsvColumn>& columns) {
    std::string cols = "[";
    for (const auto& c : columns) cols += "(" + py_text(c.heading) + ", " + py_text(c.value) + "),";
    cols += "]";
    return run_python(R"(import csv, datetime, re
from dbfread import DBF
CSV = )" + py_text(csv.string()) +
                      R"(
cols = )" + cols + R"(
raw = open(CSV, 'rb').read()
problems = []
if not raw.startswith(b'\xef\xbb\xbf'):
    problems.append('no byte order mark')
if raw.count(b'\n') != raw.count(b'\r\n') or not raw.endswith(b'\r\n'):
    problems.append('lines not ended by CR LF')
with open(CSV, newline='', encoding='utf-8-sig') as f:
    rows = list(csv.reader(f, delimiter=';'))
t = [r for r in DBF()" +
                      py_text(table.string()) + R"(, encoding='cp1252') if )" + where + R"(]
if rows[0] != [h for h, _ in cols]:
    problems.append('headings %r' % rows[0])
if len(rows) - 1 != len(t):
    problems.append('%d rows, table has %d' % (len(rows) - 1, len(t)))
for i, (row, r) in enumerate(zip(rows[1:], t), 1):
    if len(row) != len(cols):
        problems.append('row %d has %d fields' % (i, len(row)))
        continue
    for (h, expr), got in zip(cols, row):
        want = eval(expr)
        if isinstance(want, datetime.date):
            ok = got == want.strftime('%d.%m.%Y')
        elif isinstance(want, (int, float)):
            ok = re.fullmatch(r'-?\d+(,\d+)?', got) is not None and abs(float(got.replace(',', '.')) - want) < 0.005
        else:
            ok = got == str(want).strip()
        if not ok:
            problems.append('row %d %s: %r, table %r' % (i, h, got, want))
print('\n'.join(problems[:12]) if problems else 'ok')
)");
}

}  // namespace vestral::test
