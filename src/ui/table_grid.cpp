#include "ui/table_grid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include "core/dbf.h"
#include "core/mask.h"
#include "toolkit/fonts.h"

namespace vestral::ui {

class TableGrid::Model : public QAbstractTableModel {
  public:
    explicit Model(QObject* parent) : QAbstractTableModel(parent) {}
    int rowCount(const QModelIndex& = {}) const override { return static_cast<int>(cells_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return static_cast<int>(columns_.size()); }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid()) return {};
        if (role == Qt::DisplayRole)
            return cells_[static_cast<size_t>(i.row())][static_cast<size_t>(i.column())];
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(columns_[static_cast<size_t>(i.column())].align);
        const bool mark = marked(i.row(), i.column());
        if (role == Qt::BackgroundRole)
            return mark ? QColor(kGridMark) : i.row() % 2 == 1 ? QColor(kGridTint) : QColor(Qt::white);
        if (role == Qt::FontRole && mark) {
            QFont f = static_cast<QWidget*>(QObject::parent())->font();
            f.setBold(true);
            return f;
        }
        if (role == Qt::ForegroundRole) return QColor(Qt::black);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o == Qt::Horizontal && role == Qt::DisplayRole && section < columnCount())
            return columns_[static_cast<size_t>(section)].heading;
        if (o == Qt::Horizontal && role == Qt::TextAlignmentRole && section < columnCount())
            return QVariant::fromValue(columns_[static_cast<size_t>(section)].align);
        return {};
    }
    bool marked(int row, int column) const {
        if (row < 0 || row >= static_cast<int>(marks_.size())) return false;
        const auto& r = marks_[static_cast<size_t>(row)];
        return column >= 0 && column < static_cast<int>(r.size()) && r[static_cast<size_t>(column)];
    }
    void load(core::dbf::Table& t) {
        beginResetModel();
        cells_.clear();
        marks_.clear();
        values_.clear();
        recnos_.clear();
        if (t.is_open()) {
            for (t.go_top(); !t.eof(); t.skip()) {
                std::vector<QString> row;
                std::vector<GridValue> value_row;
                std::vector<bool> mark_row;
                row.reserve(columns_.size());
                value_row.reserve(columns_.size());
                for (const auto& c : columns_) {
                    row.push_back(c.cell(t));
                    value_row.push_back(c.value ? c.value(t) : GridValue{});
                    mark_row.push_back(c.marked && c.marked(t));
                }
                marks_.push_back(std::move(mark_row));
                cells_.push_back(std::move(row));
                values_.push_back(std::move(value_row));
                recnos_.push_back(t.recno());
            }
            t.go_top();
        }
        endResetModel();
    }
    std::vector<GridColumn> columns_;
    std::vector<std::vector<QString>> cells_;
    std::vector<std::vector<GridValue>> values_;
    std::vector<std::vector<bool>> marks_;
    std::vector<long> recnos_;
};

namespace {
// The field's value with the decimals the table stores it with.
std::function<GridValue(const core::dbf::Table&)> stored_number(std::string field) {
    return [field](const core::dbf::Table& t) -> GridValue {
        int decimals = 0;
        for (const auto& f : t.layout())
            if (QString::fromStdString(f.name).compare(QString::fromStdString(field), Qt::CaseInsensitive) ==
                0)
                decimals = f.decimals;
        return core::Num{t.num(field), decimals};
    };
}
}  // namespace

GridColumn masked_column(const QString& heading, const char* field, const char* mask, const QString& suffix) {
    std::string f = field;
    core::Mask m = core::Mask::parse(mask);
    return {heading,
            [f, m, suffix](const core::dbf::Table& t) {
                return QString::fromStdString(m.format(t.num(f))) + suffix;
            },
            Qt::AlignRight | Qt::AlignVCenter, stored_number(f)};
}

GridColumn masked_column_blank0(const QString& heading, const char* field, const char* mask) {
    std::string f = field;
    core::Mask m = core::Mask::parse(mask);
    return {heading,
            [f, m](const core::dbf::Table& t) {
                double v = t.num(f);
                return v == 0 ? QString() : QString::fromStdString(m.format(v));
            },
            Qt::AlignRight | Qt::AlignVCenter, stored_number(f)};
}

TableGrid::TableGrid(QWidget* parent, core::dbf::Table& table, std::vector<GridColumn> columns,
                     bool freeze_first, bool horizontal_scroll)
    : QTableView(parent), table_(table), model_(new Model(this)) {
    setObjectName("tableGrid");
    setFont(toolkit::ofont());
    model_->columns_ = std::move(columns);
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setHorizontalScrollBarPolicy(horizontal_scroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { emit activatedRecord(recnoAt(i.row())); });
    if (freeze_first) {
        frozen_ = new QTableView(this);
        frozen_->setObjectName("frozenColumn");
        frozen_->setFont(font());
        frozen_->setModel(model_);
        frozen_->setSelectionModel(selectionModel());
        frozen_->setFocusPolicy(Qt::NoFocus);
        frozen_->verticalHeader()->hide();
        frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
        frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        frozen_->setStyleSheet("QTableView { border: none; }");
        viewport()->stackUnder(frozen_);
        connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
                &QAbstractSlider::setValue);
        connect(frozen_, &QTableView::doubleClicked, this,
                [this](const QModelIndex& i) { emit activatedRecord(recnoAt(i.row())); });
    }
    reload();
}

TableGrid::~TableGrid() = default;

void TableGrid::reload() {
    model_->load(table_);
    resizeColumnsToContents();
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int chars = model_->columns_[static_cast<size_t>(c)].width;
        setColumnWidth(c, chars > 0 ? chars * digit + 6 : columnWidth(c) + 6);
    }
    if (model_->rowCount() > 0) selectRow(0);
    updateFrozen();
}

void TableGrid::setColumns(std::vector<GridColumn> columns) {
    model_->columns_ = std::move(columns);
    reload();
}

long TableGrid::recnoAt(int row) const {
    if (row < 0 || row >= static_cast<int>(model_->recnos_.size())) return 0;
    return model_->recnos_[static_cast<size_t>(row)];
}

long TableGrid::currentRecno() const {
    return recnoAt(currentIndex().row());
}

int TableGrid::rows() const {
    return model_->rowCount();
}

QString TableGrid::cellText(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString();
}

GridValue TableGrid::cellValue(int row, int column) const {
    if (row < 0 || column < 0 || row >= static_cast<int>(model_->values_.size()) ||
        column >= model_->columnCount())
        return {};
    return model_->values_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

bool TableGrid::cellMarked(int row, int column) const {
    return model_->marked(row, column);
}

int TableGrid::columns() const {
    return model_->columnCount();
}

QString TableGrid::heading(int column) const {
    return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int TableGrid::fullWidth() const {
    int w = 0;
    for (int c = 0; c < model_->columnCount(); ++c) w += columnWidth(c);
    return w + verticalScrollBar()->sizeHint().width() + 2 * frameWidth() + 4;
}

void TableGrid::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete) {
        emit deletePressed();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit activatedRecord(currentRecno());
        return;
    }
    QTableView::keyPressEvent(e);
}

void TableGrid::updateFrozen() {
    if (!frozen_) return;
    for (int c = 1; c < model_->columnCount(); ++c) frozen_->setColumnHidden(c, true);
    frozen_->setColumnHidden(0, false);
    frozen_->setColumnWidth(0, columnWidth(0));
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), columnWidth(0),
                         viewport()->height() + horizontalHeader()->height());
}

void TableGrid::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    updateFrozen();
}

void TableGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    updateFrozen();
}

}  // namespace vestral::ui
