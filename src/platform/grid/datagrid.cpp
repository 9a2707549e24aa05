#include "platform/grid/datagrid.h"

#include "platform/data/dataset.h"
#include "platform/data/datasetmodel.h"
#include "platform/grid/gridexport.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <cmath>

namespace platform {

// ---------------------------------------------------------------- formats

namespace {

// Adds one unit to the last digit of a string of decimal digits.
QString incremented(QString digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
            continue;
        }
        digits[i] = QChar(digits[i].unicode() + 1);
        return digits;
    }
    return QLatin1Char('1') + digits;
}

QString groupThousands(const QString& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

} // namespace

QString formatDecimal(const QString& format, const QString& decimalText) {
    const QString pattern = format.section(QLatin1Char(';'), 0, 0);
    const qsizetype dotAt = pattern.indexOf(QLatin1Char('.'));
    const QString intPattern = dotAt < 0 ? pattern : pattern.left(dotAt);
    const QString fracPattern = dotAt < 0 ? QString() : pattern.mid(dotAt + 1);
    const bool thousands = intPattern.contains(QLatin1Char(','));
    const int minInt = int(intPattern.count(QLatin1Char('0')));
    const int minDecimals = int(fracPattern.count(QLatin1Char('0')));
    const int decimals = minDecimals + int(fracPattern.count(QLatin1Char('#')));

    QString t = decimalText.trimmed();
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    QString whole = dot < 0 ? t : t.left(dot);
    QString fraction = dot < 0 ? QString() : t.mid(dot + 1);
    // Round half away from zero on the decimal digits themselves.
    const bool roundUp = fraction.size() > decimals && fraction.at(decimals) >= QLatin1Char('5');
    fraction = fraction.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    if (roundUp) {
        const QString all = incremented(whole + fraction);
        whole = all.left(all.size() - decimals);
        fraction = all.right(decimals);
    }
    while (whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    const bool zero =
        whole.isEmpty() && !fraction.contains(QRegularExpression(QStringLiteral("[1-9]")));
    whole = whole.rightJustified(minInt, QLatin1Char('0'));
    if (thousands)
        whole = groupThousands(whole);
    while (fraction.size() > minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString out = whole;
    if (!fraction.isEmpty())
        out += QLatin1Char('.') + fraction;
    if (out.isEmpty())
        out = QStringLiteral("0");
    return negative && !zero ? QLatin1Char('-') + out : out;
}

// ---------------------------------------------------------------- model

// The DataSet's model seen through the grid's columns: display formats,
// check boxes, titles and editing per column.
class GridModel : public DataSetModel {
public:
    GridModel(DataSet* dataSet, DataGrid* grid)
        : DataSetModel(dataSet, grid)
        , grid_(grid) {}

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const GridColumn* c = grid_->columnForField(index.column());
        switch (role) {
        case Qt::DisplayRole:
            if (c && c->isCheckBox())
                return {};
            if (c && !c->displayFormat.isEmpty() && !editing(index))
                return grid_->displayText(index.row(), index.column());
            break;
        case Qt::CheckStateRole:
            if (c && c->isCheckBox()) {
                const QString v = DataSetModel::data(index, Qt::DisplayRole).toString();
                if (v == c->checkedValue)
                    return Qt::Checked;
                if (v == c->uncheckedValue)
                    return Qt::Unchecked;
                return Qt::PartiallyChecked;
            }
            return {};
        default:
            break;
        }
        return DataSetModel::data(index, role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return grid_->columnTitle(section);
        return DataSetModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (grid_->cellEditable(index)) {
            const GridColumn* c = grid_->columnForField(index.column());
            f |= (c && c->isCheckBox()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
        }
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        DataSet* ds = dataSet();
        if (!ds || !ds->isOpen() || !index.isValid())
            return false;
        const GridColumn* c = grid_->columnForField(index.column());
        QVariant stored;
        if (role == Qt::CheckStateRole && c && c->isCheckBox())
            stored = value.toInt() == Qt::Checked ? c->checkedValue : c->uncheckedValue;
        else if (role == Qt::EditRole)
            stored = fromText(ds->field(index.column()), value.toString());
        else
            return false;
        if (ds->currentRow() != index.row())
            ds->setCurrentRow(index.row());
        ds->edit();
        ds->setValue(index.column(), stored);
        if (ds->state() == DataSet::State::Edit || ds->state() == DataSet::State::Insert)
            ds->post();
        return true;
    }

private:
    bool editing(const QModelIndex& index) const {
        const DataSet* ds = dataSet();
        return ds->state() == DataSet::State::Edit && ds->currentRow() == index.row();
    }

    // Typed text into a field's value; a text that is not one is refused.
    static QVariant fromText(const FieldDef& f, const QString& text) {
        const QString t = text.trimmed();
        if (t.isEmpty() && !f.isText())
            return QVariant();
        bool ok = true;
        QVariant v;
        switch (f.kind) {
        case FieldKind::Integer:
        case FieldKind::LargeInt:
            v = t.toLongLong(&ok);
            break;
        case FieldKind::Float:
            v = t.toDouble(&ok);
            break;
        case FieldKind::Numeric:
            t.toDouble(&ok);
            v = t;
            break;
        case FieldKind::Date: {
            const QDate d = QDate::fromString(t, fieldDateFormat());
            ok = d.isValid();
            v = d;
            break;
        }
        default:
            return text;
        }
        if (!ok)
            throw DbError(
                DbError::Kind::Client,
                QStringLiteral("'%1' is not a valid value for field '%2'").arg(text, f.name));
        return v;
    }

    DataGrid* grid_;
};

// ---------------------------------------------------------------- header

// Titles with sort marks on every sorted column (a small number tells the
// order when several are combined).
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(DataGrid* grid)
        : QHeaderView(Qt::Horizontal, grid)
        , grid_(grid) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical) const override {
        if (!rect.isValid())
            return;
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = rect;
        opt.section = logical;
        opt.text = model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        opt.textAlignment = Qt::AlignCenter;
        opt.iconAlignment = Qt::AlignVCenter;
        int order = -1;
        const DataSet* ds = grid_->dataSet();
        if (ds) {
            const auto& keys = ds->sort();
            for (qsizetype k = 0; k < keys.size(); ++k)
                if (keys[k].field == logical) {
                    order = int(k);
                    opt.sortIndicator = keys[k].descending ? QStyleOptionHeader::SortUp
                                                           : QStyleOptionHeader::SortDown;
                }
            if (order >= 0 && keys.size() > 1)
                opt.text += QStringLiteral(" %1").arg(order + 1);
        }
        painter->save();
        style()->drawControl(QStyle::CE_Header, &opt, painter, this);
        painter->restore();
    }

private:
    DataGrid* grid_;
};

// ---------------------------------------------------------------- delegate

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DataGrid* grid)
        : QStyledItemDelegate(grid)
        , grid_(grid) {}

    QPointer<QWidget> lastEditor;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        const QModelIndex current = grid_->currentIndex();
        const bool isCurrentRow = current.isValid() && current.row() == index.row();
        const bool isCurrentCell = isCurrentRow && current.column() == index.column();
        opt.state &= ~QStyle::State_HasFocus;
        if (isCurrentCell && grid_->hasFocus()) {
            opt.state |= QStyle::State_Selected; // focus highlight
        } else if (isCurrentRow && !(opt.state & QStyle::State_Selected)) {
            QColor tint = opt.palette.color(QPalette::Highlight);
            tint.setAlpha(45); // row highlight
            opt.backgroundBrush = tint;
        }
        const GridColumn* c = grid_->columnForField(index.column());
        const QRect button = isCurrentCell ? grid_->editButtonRect(index) : QRect();
        if (!button.isNull())
            opt.rect.setRight(button.left() - 1);
        if (c && c->isCheckBox()) {
            initStyleOption(&opt, index);
            if (isCurrentCell && grid_->hasFocus())
                opt.state |= QStyle::State_Selected;
            else if (isCurrentRow && !(option.state & QStyle::State_Selected)) {
                QColor tint = opt.palette.color(QPalette::Highlight);
                tint.setAlpha(45);
                opt.backgroundBrush = tint;
            }
            QStyle* style = grid_->style();
            const auto state = opt.checkState;
            opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
            opt.text.clear();
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, grid_);
            QStyleOptionViewItem box = opt;
            const QRect r = checkRect(option.rect);
            box.rect = r;
            box.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange);
            box.state |= state == Qt::Checked     ? QStyle::State_On
                         : state == Qt::Unchecked ? QStyle::State_Off
                                                  : QStyle::State_NoChange;
            style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, grid_);
        } else {
            QStyledItemDelegate::paint(painter, opt, index);
        }
        if (!button.isNull()) {
            QStyleOptionButton b;
            b.rect = button;
            b.state = QStyle::State_Enabled | QStyle::State_Raised;
            b.palette = option.palette;
            const bool drop = c && !c->pickList.isEmpty() && c->button == GridColumn::Button::Auto;
            b.text = drop ? QString() : QStringLiteral("...");
            grid_->style()->drawControl(QStyle::CE_PushButton, &b, painter, grid_);
            if (drop) {
                QStyleOption arrow;
                arrow.rect = button.adjusted(3, 3, -3, -3);
                arrow.palette = option.palette;
                arrow.state = QStyle::State_Enabled;
                grid_->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter,
                                              grid_);
            }
        }
    }

    static QRect checkRect(const QRect& cell) {
        const int side = std::min(16, cell.height() - 2);
        return QRect(cell.center().x() - side / 2, cell.center().y() - side / 2 + 1, side, side);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        const GridColumn* c = grid_->columnForField(index.column());
        if (!c || !c->isCheckBox())
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        if (!(model->flags(index) & Qt::ItemIsUserCheckable))
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton ||
                !checkRect(option.rect).adjusted(-4, -4, 4, 4).contains(me->position().toPoint()))
                return false;
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            return true;
        } else if (event->type() == QEvent::KeyPress) {
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Space)
                return false;
        } else {
            return false;
        }
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const GridColumn* c = grid_->columnForField(index.column());
        const int columnIndex = grid_->columnIndexOfField(index.column());
        QWidget* editor = nullptr;
        if (c && !c->pickList.isEmpty() && c->button != GridColumn::Button::None) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->addItems(c->pickList);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // A typed text is kept as typed: no entry of another case replaces it.
            if (combo->completer())
                combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
            // Picking an entry writes it at once.
            connect(combo, &QComboBox::activated, combo, [this, combo] {
                auto* self = const_cast<GridDelegate*>(this);
                emit self->commitData(combo);
                emit self->closeEditor(combo);
            });
            editor = combo;
        } else {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            if (c && c->button == GridColumn::Button::Ellipsis) {
                QAction* dots = line->addAction(QIcon(), QLineEdit::TrailingPosition);
                dots->setText(QStringLiteral("..."));
                dots->setToolTip(QStringLiteral("..."));
                connect(dots, &QAction::triggered, grid_, [this, columnIndex] {
                    emit grid_->editButtonDown(columnIndex);
                    emit grid_->editButtonClicked(columnIndex);
                });
            }
            editor = line;
        }
        const_cast<GridDelegate*>(this)->lastEditor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const auto* model = static_cast<const DataSetModel*>(index.model());
        const QString text = model->DataSetModel::data(index, Qt::DisplayRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentText(text);
            // A key that opens the cell replaces its text, as in a plain cell.
            combo->lineEdit()->selectAll();
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            text = combo->currentText();
        else if (auto* line = qobject_cast<QLineEdit*>(editor))
            text = line->text();
        const auto* base = static_cast<const DataSetModel*>(model);
        if (text == base->DataSetModel::data(index, Qt::DisplayRole).toString())
            return; // nothing changed
        model->setData(index, text, Qt::EditRole);
    }

private:
    DataGrid* grid_;
};

// ---------------------------------------------------------------- filter row

class GridFilterBar : public QWidget {
public:
    explicit GridFilterBar(DataGrid* grid)
        : QWidget(grid)
        , grid_(grid) {
        setObjectName(QStringLiteral("FilterRow"));
        setAutoFillBackground(true);
    }

    // Makes one box per field when the fields changed; the boxes live on
    // through sorting and filtering (a box may be filtering right now).
    void rebuild() {
        DataSet* ds = grid_->dataSet();
        QStringList names;
        for (int f = 0; ds && f < grid_->model()->columnCount(); ++f)
            names << ds->field(f).name;
        if (names == builtFor_) {
            layoutEdits();
            return;
        }
        builtFor_ = names;
        for (QLineEdit* e : edits_) {
            e->hide();
            e->deleteLater();
        }
        edits_.clear();
        if (!ds)
            return;
        for (int f = 0; f < grid_->model()->columnCount(); ++f) {
            auto* edit = new QLineEdit(this);
            const QString name = ds->field(f).name;
            edit->setObjectName(QStringLiteral("Filtro_") + name);
            edit->setText(grid_->filterText(name));
            edit->setFrame(true);
            connect(edit, &QLineEdit::textEdited, grid_, [this, name](const QString& text) {
                grid_->filters_[name.toUpper()] = text;
                grid_->filterTimer_->start();
            });
            connect(edit, &QLineEdit::returnPressed, grid_, [this] {
                grid_->filterTimer_->stop();
                grid_->applyFilters();
            });
            edits_.append(edit);
        }
        layoutEdits();
    }

    void layoutEdits() {
        QHeaderView* h = grid_->horizontalHeader();
        for (qsizetype f = 0; f < edits_.size(); ++f) {
            QLineEdit* e = edits_[f];
            if (f >= h->count() || h->isSectionHidden(int(f))) {
                e->hide();
                continue;
            }
            e->setGeometry(h->sectionViewportPosition(int(f)), 0, h->sectionSize(int(f)), height());
            e->show();
        }
    }

    QList<QLineEdit*> edits_;

private:
    DataGrid* grid_;
    QStringList builtFor_;
};

// ---------------------------------------------------------------- footer

class GridFooter : public QWidget {
public:
    explicit GridFooter(DataGrid* grid)
        : QWidget(grid)
        , grid_(grid) {
        setObjectName(QStringLiteral("Footer"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Button));
        QHeaderView* h = grid_->horizontalHeader();
        const QPen line(palette().color(QPalette::Mid));
        for (int v = 0; v < h->count(); ++v) {
            const int f = h->logicalIndex(v);
            if (h->isSectionHidden(f))
                continue;
            const QRect r(h->sectionViewportPosition(f), 0, h->sectionSize(f), height());
            const GridColumn* c = grid_->columnForField(f);
            if (c && c->footerColor.isValid())
                p.fillRect(r, c->footerColor);
            p.setPen(line);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            if (c && c->footerSum) {
                p.setPen(palette().color(QPalette::ButtonText));
                p.drawText(r.adjusted(3, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                           grid_->footerText(c->field));
            }
        }
    }

private:
    DataGrid* grid_;
};

// ---------------------------------------------------------------- find dialog

class FindDialog : public QDialog {
public:
    explicit FindDialog(DataGrid* grid)
        : QDialog(grid)
        , grid_(grid) {
        setObjectName(QStringLiteral("FindDialog"));
        setWindowTitle(QStringLiteral("Buscar"));
        auto* layout = new QGridLayout(this);
        text_ = new QLineEdit(this);
        text_->setObjectName(QStringLiteral("TextoBuscar"));
        column_ = new QComboBox(this);
        column_->setObjectName(QStringLiteral("BuscarEn"));
        matchCase_ = new QCheckBox(QStringLiteral("Coincidir mayúsculas y minúsculas"), this);
        wholeField_ = new QCheckBox(QStringLiteral("Campo completo"), this);
        down_ = new QRadioButton(QStringLiteral("Hacia abajo"), this);
        up_ = new QRadioButton(QStringLiteral("Hacia arriba"), this);
        down_->setChecked(true);
        auto* next = new QToolButton(this);
        next->setObjectName(QStringLiteral("BuscarSiguiente"));
        next->setText(QStringLiteral("Buscar siguiente"));
        auto* close = new QToolButton(this);
        close->setText(QStringLiteral("Cerrar"));
        layout->addWidget(new QLabel(QStringLiteral("Texto a buscar:"), this), 0, 0);
        layout->addWidget(text_, 0, 1, 1, 2);
        layout->addWidget(new QLabel(QStringLiteral("Buscar en:"), this), 1, 0);
        layout->addWidget(column_, 1, 1, 1, 2);
        layout->addWidget(matchCase_, 2, 0, 1, 3);
        layout->addWidget(wholeField_, 3, 0, 1, 3);
        layout->addWidget(down_, 4, 0);
        layout->addWidget(up_, 4, 1);
        layout->addWidget(next, 5, 1);
        layout->addWidget(close, 5, 2);
        connect(next, &QToolButton::clicked, this, [this] { findNext(); });
        connect(close, &QToolButton::clicked, this, &QDialog::close);
        connect(text_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    }

    void prepare() {
        const int keep = column_->currentIndex();
        column_->clear();
        column_->addItem(QStringLiteral("Todas las columnas"), -1);
        for (const auto& [field, title] : grid_->visibleColumns())
            column_->addItem(title, field);
        column_->setCurrentIndex(keep >= 0 && keep < column_->count() ? keep : 0);
        text_->selectAll();
        text_->setFocus();
    }

    void findNext() {
        if (text_->text().isEmpty())
            return;
        if (!grid_->findNext(text_->text(), column_->currentData().toInt(), matchCase_->isChecked(),
                             wholeField_->isChecked(), down_->isChecked()))
            Dialogs::instance().notice(
                this, QStringLiteral("No se encontró el texto \"%1\".").arg(text_->text()));
    }

private:
    DataGrid* grid_;
    QLineEdit* text_;
    QComboBox* column_;
    QCheckBox* matchCase_;
    QCheckBox* wholeField_;
    QRadioButton* down_;
    QRadioButton* up_;
};

// ---------------------------------------------------------------- grid

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent) {
    header_ = new GridHeader(this);
    setHorizontalHeader(header_);
    header_->setSectionsClickable(true);
    header_->setSectionsMovable(true);
    header_->setHighlightSections(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setMinimumSectionSize(10);
    header_->setDefaultAlignment(Qt::AlignCenter);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers); // read-only until told otherwise
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setItemDelegate(new GridDelegate(this));
    // Uniform row heights keep a few hundred thousand rows fast.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(14);
    filterBar_ = new GridFilterBar(this);
    filterBar_->hide();
    footer_ = new GridFooter(this);
    footer_->hide();
    filterTimer_ = new QTimer(this);
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(250);
    connect(filterTimer_, &QTimer::timeout, this, &DataGrid::applyFilters);
    connect(header_, &QHeaderView::sectionClicked, this, [this](int logical) {
        sortByField(logical, QGuiApplication::keyboardModifiers() & Qt::ControlModifier);
    });
    connect(header_, &QHeaderView::sectionResized, this, &DataGrid::sectionResizedByUser);
    connect(header_, &QHeaderView::sectionMoved, this, &DataGrid::sectionMovedByUser);
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSet(DataSet* dataSet) {
    if (model_) {
        disconnect(dataSet_, nullptr, this, nullptr);
        model_->deleteLater();
    }
    dataSet_ = dataSet;
    lastFieldNames_.clear();
    model_ = new GridModel(dataSet, this);
    setModel(model_);
    connect(model_, &QAbstractItemModel::modelReset, this, &DataGrid::modelWasReset);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &DataGrid::invalidateFooter);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &DataGrid::invalidateFooter);
    connect(model_, &QAbstractItemModel::dataChanged, this, &DataGrid::invalidateFooter);
    connect(dataSet, &DataSet::currentChanged, this, &DataGrid::followCurrentRow);
    modelWasReset();
}

// The grid's current row is the DataSet's.
void DataGrid::followCurrentRow() {
    if (!dataSet_ || !dataSet_->isOpen())
        return;
    const int row = dataSet_->currentRow();
    if (row < 0 || currentIndex().row() == row)
        return;
    int column = currentIndex().column();
    for (int v = 0; (column < 0 || header_->isSectionHidden(column)) && v < header_->count(); ++v)
        column = header_->logicalIndex(v);
    setCurrentIndex(model_->index(row, std::max(0, column)));
}

// ---------------------------------------------------------------- columns

const GridColumn* DataGrid::columnForField(int field) const {
    if (field < 0 || field >= int(fieldColumn_.size()) || fieldColumn_[field] < 0)
        return nullptr;
    return &columns_[fieldColumn_[field]];
}

int DataGrid::columnIndexOfField(int field) const {
    if (field < 0 || field >= int(fieldColumn_.size()))
        return -1;
    return fieldColumn_[field];
}

void DataGrid::setColumns(const QList<GridColumn>& columns) {
    columns_ = columns;
    autoColumns_ = columns.isEmpty();
    applyColumns();
}

GridColumn& DataGrid::column(const QString& field) {
    for (GridColumn& c : columns_)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    columns_.append(GridColumn{field});
    rebuildFieldMap();
    return columns_.last();
}

void DataGrid::rebuildFieldMap() {
    const int n = model_ ? model_->columnCount() : 0;
    fieldColumn_.assign(n, -1);
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        const int f = dataSet_ ? dataSet_->fieldIndex(columns_[i].field) : -1;
        if (f >= 0 && f < n && fieldColumn_[f] < 0)
            fieldColumn_[f] = int(i);
    }
}

QString DataGrid::columnTitle(int field) const {
    const GridColumn* c = columnForField(field);
    if (c && !c->title.isEmpty())
        return c->title;
    if (dataSet_ && field >= 0 && field < dataSet_->fieldCount())
        return dataSet_->field(field).displayLabel();
    return {};
}

void DataGrid::autoColumnsFromFields() {
    QList<GridColumn> fresh;
    for (int f = 0; f < dataSet_->fieldCount(); ++f) {
        GridColumn c;
        c.field = dataSet_->field(f).name;
        fresh << c;
    }
    columns_ = fresh;
}

int DataGrid::defaultWidth(int field) const {
    const FieldDef& f = dataSet_->field(field);
    int chars = 12;
    if (f.isText())
        chars = std::clamp(f.size, 4, 40);
    else if (f.kind == FieldKind::Date)
        chars = 10;
    else if (f.kind == FieldKind::DateTime)
        chars = 19;
    const QFontMetrics fm = fontMetrics();
    const int title = fm.horizontalAdvance(columnTitle(field)) + 24;
    return std::max(fm.averageCharWidth() * chars + 10, title);
}

void DataGrid::applyColumns() {
    if (!model_ || applying_)
        return;
    applying_ = true;
    rebuildFieldMap();
    const int n = model_->columnCount();
    for (int f = 0; f < n; ++f) {
        const GridColumn* c = columnForField(f);
        header_->setSectionHidden(f, !c || !c->visible);
    }
    int visual = 0;
    for (const GridColumn& c : columns_) {
        const int f = dataSet_->fieldIndex(c.field);
        if (f < 0 || f >= n || columnForField(f) != &c)
            continue;
        const int from = header_->visualIndex(f);
        if (from != visual)
            header_->moveSection(from, visual);
        ++visual;
        int w = c.width > 0 ? c.width : defaultWidth(f);
        if (c.isCheckBox())
            w = std::max(w, 35);
        w = std::max(w, c.minWidth);
        if (c.maxWidth > 0)
            w = std::min(w, c.maxWidth);
        header_->resizeSection(f, w);
    }
    if (fitColumns_)
        fitToWidth();
    applying_ = false;
    filterBar_->rebuild();
    layoutBars();
    footer_->update();
    header_->viewport()->update();
    viewport()->update();
}

QList<QPair<int, QString>> DataGrid::visibleColumns() const {
    QList<QPair<int, QString>> list;
    if (!dataSet_ || !model_)
        return list;
    for (int v = 0; v < header_->count(); ++v) {
        const int f = header_->logicalIndex(v);
        if (f >= 0 && f < dataSet_->fieldCount() && !header_->isSectionHidden(f))
            list.append({f, columnTitle(f)});
    }
    return list;
}

void DataGrid::setFitColumnsToWidth(bool fit) {
    fitColumns_ = fit;
    applyColumns();
}

void DataGrid::fitToWidth() {
    const int available = viewport()->width();
    if (available <= 0)
        return;
    int fixed = 0;
    int base = 0;
    QList<int> fitted;
    for (int f = 0; f < header_->count(); ++f) {
        if (header_->isSectionHidden(f))
            continue;
        const GridColumn* c = columnForField(f);
        if (c && !c->fitted) {
            fixed += header_->sectionSize(f);
            continue;
        }
        fitted << f;
        base += c && c->width > 0 ? c->width : defaultWidth(f);
    }
    if (fitted.isEmpty() || base <= 0)
        return;
    const double scale = double(std::max(0, available - fixed)) / double(base);
    const bool was = applying_;
    applying_ = true;
    for (int f : fitted) {
        const GridColumn* c = columnForField(f);
        int w = int((c && c->width > 0 ? c->width : defaultWidth(f)) * scale);
        if (c)
            w = std::max(w, c->minWidth);
        if (c && c->maxWidth > 0)
            w = std::min(w, c->maxWidth);
        header_->resizeSection(f, std::max(w, 10));
    }
    applying_ = was;
}

void DataGrid::sectionResizedByUser(int logical, int, int newSize) {
    if (applying_) {
        layoutBars();
        return;
    }
    const int ci = columnIndexOfField(logical);
    if (ci >= 0) {
        GridColumn& c = columns_[ci];
        int w = std::max(newSize, c.minWidth);
        if (c.maxWidth > 0)
            w = std::min(w, c.maxWidth);
        c.width = w;
        if (w != newSize) {
            applying_ = true;
            header_->resizeSection(logical, w);
            applying_ = false;
        }
    }
    layoutBars();
}

void DataGrid::sectionMovedByUser(int, int, int) {
    if (applying_) {
        layoutBars();
        return;
    }
    // The columns' order follows the moves (exports use grid order).
    QList<GridColumn> ordered;
    QList<bool> taken(columns_.size(), false);
    for (int v = 0; v < header_->count(); ++v) {
        const int ci = columnIndexOfField(header_->logicalIndex(v));
        if (ci >= 0 && !taken[ci]) {
            ordered << columns_[ci];
            taken[ci] = true;
        }
    }
    for (qsizetype i = 0; i < columns_.size(); ++i)
        if (!taken[i])
            ordered << columns_[i];
    columns_ = ordered;
    rebuildFieldMap();
    layoutBars();
}

void DataGrid::modelWasReset() {
    QStringList names;
    if (dataSet_ && dataSet_->isOpen())
        for (const FieldDef& f : dataSet_->fields())
            names << f.name;
    const bool newFields = dataSet_ && dataSet_->isOpen() && names != lastFieldNames_;
    if (newFields) {
        lastFieldNames_ = names;
        if (autoColumns_)
            autoColumnsFromFields();
        if (!filters_.isEmpty()) {
            filters_.clear();
            dataSet_->setRowPredicate(nullptr); // resets again, with the new fields
            return;
        }
    }
    search_.clear();
    invalidateFooter();
    applyColumns();
    followCurrentRow();
}

void DataGrid::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    viewport()->update();
}

bool DataGrid::cellEditable(const QModelIndex& index) const {
    if (readOnly_ || !index.isValid() || !dataSet_ || !dataSet_->isOpen())
        return false;
    const GridColumn* c = columnForField(index.column());
    return c && !c->readOnly && !dataSet_->field(index.column()).calculated;
}

// ---------------------------------------------------------------- geometry

void DataGrid::updateGeometries() {
    if (inGeometry_ || !header_)
        return;
    inGeometry_ = true;
    QTableView::updateGeometries();
    const int top = filterRowVisible_ ? fontMetrics().height() + 8 : 0;
    const int bottom = footerVisible_ ? verticalHeader()->defaultSectionSize() + 2 : 0;
    if (top > 0 || bottom > 0) {
        const QMargins m = viewportMargins();
        setViewportMargins(m.left(), m.top() + top, m.right(), bottom);
        const QRect vg = viewport()->geometry();
        const int hh = header_->height();
        header_->setGeometry(vg.left(), vg.top() - top - hh, vg.width(), hh);
        verticalHeader()->setGeometry(vg.left() - verticalHeader()->width(), vg.top(),
                                      verticalHeader()->width(), vg.height());
    }
    inGeometry_ = false;
    layoutBars();
}

void DataGrid::layoutBars() {
    if (!filterBar_ || !footer_)
        return; // still being built
    const QRect vg = viewport()->geometry();
    if (filterRowVisible_) {
        const int top = fontMetrics().height() + 8;
        filterBar_->setGeometry(vg.left(), vg.top() - top, vg.width(), top);
        filterBar_->layoutEdits();
        filterBar_->show();
    } else {
        filterBar_->hide();
    }
    if (footerVisible_) {
        footer_->setGeometry(vg.left(), vg.bottom() + 1, vg.width(),
                             verticalHeader()->defaultSectionSize() + 2);
        footer_->show();
        footer_->update();
    } else {
        footer_->hide();
    }
}

void DataGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (fitColumns_ && !applying_) {
        fitToWidth();
        layoutBars();
    }
}

void DataGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0)
        layoutBars();
}

// ---------------------------------------------------------------- filter row

void DataGrid::setFilterRowVisible(bool visible) {
    if (filterRowVisible_ == visible)
        return;
    filterRowVisible_ = visible;
    // A hidden filter row filters nothing: no rows kept out unseen.
    applyFilters();
    updateGeometries();
}

void DataGrid::setFilterText(const QString& field, const QString& text) {
    filters_[field.toUpper()] = text;
    if (dataSet_) {
        const int f = dataSet_->fieldIndex(field);
        if (f >= 0 && f < filterBar_->edits_.size())
            filterBar_->edits_[f]->setText(text);
    }
    applyFilters();
}

QString DataGrid::filterText(const QString& field) const {
    return filters_.value(field.toUpper());
}

void DataGrid::clearFilters() {
    filters_.clear();
    for (QLineEdit* e : filterBar_->edits_)
        e->clear();
    applyFilters();
}

namespace {

struct FilterTerm {
    int field = -1;
    QString name;
    FieldKind kind = FieldKind::String;
    int scale = 0;
    enum Op { Contains, Eq, Ne, Lt, Le, Gt, Ge } op = Contains;
    QString text;
    double number = 0;
    bool numeric = false; // compare as numbers (numbers and dates)
};

FilterTerm parseTerm(const FieldDef& f, int field, const QString& raw) {
    FilterTerm t;
    t.field = field;
    t.name = f.name;
    t.kind = f.kind;
    t.scale = f.scale;
    QString s = raw.trimmed();
    static const QList<QPair<QString, FilterTerm::Op>> ops = {
        {QStringLiteral("<>"), FilterTerm::Ne}, {QStringLiteral(">="), FilterTerm::Ge},
        {QStringLiteral("<="), FilterTerm::Le}, {QStringLiteral("="), FilterTerm::Eq},
        {QStringLiteral(">"), FilterTerm::Gt},  {QStringLiteral("<"), FilterTerm::Lt}};
    for (const auto& [mark, op] : ops)
        if (s.startsWith(mark)) {
            t.op = op;
            s = s.mid(mark.size()).trimmed();
            break;
        }
    t.text = s;
    if (t.op != FilterTerm::Contains) {
        bool ok = false;
        if (f.isNumber()) {
            t.number = s.toDouble(&ok);
        } else if (f.kind == FieldKind::Date || f.kind == FieldKind::DateTime) {
            const QDate d = QDate::fromString(s, fieldDateFormat());
            ok = d.isValid();
            t.number = double(d.toJulianDay());
        }
        t.numeric = ok;
    }
    return t;
}

QString storedText(const DataSet& ds, int stored, const FilterTerm& t) {
    const QVariant v = ds.storedValue(stored, t.field);
    switch (t.kind) {
    case FieldKind::Numeric:
        return QString::number(v.toDouble(), 'f', t.scale);
    case FieldKind::Date:
        return v.toDate().toString(fieldDateFormat());
    case FieldKind::DateTime:
        return v.toDateTime().toString(fieldDateFormat() + QLatin1Char(' ') + fieldTimeFormat());
    case FieldKind::Float:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

bool termMatches(const DataSet& ds, int stored, const FilterTerm& t) {
    // A term of an earlier result's fields does not apply to this one.
    if (t.field >= ds.fieldCount() || ds.field(t.field).name != t.name)
        return true;
    const QVariant v = ds.storedValue(stored, t.field);
    if (t.op == FilterTerm::Contains)
        return !v.isNull() && storedText(ds, stored, t).contains(t.text, Qt::CaseInsensitive);
    if (v.isNull()) // an empty cell compares with nothing but "="
        return t.op == FilterTerm::Eq && t.text.isEmpty();
    int cmp = 0;
    if (t.numeric) {
        double x = 0;
        if (t.kind == FieldKind::Date)
            x = double(v.toDate().toJulianDay());
        else if (t.kind == FieldKind::DateTime)
            x = double(v.toDateTime().date().toJulianDay());
        else
            x = v.toDouble();
        cmp = x < t.number ? -1 : x > t.number ? 1 : 0;
    } else {
        cmp = storedText(ds, stored, t).compare(t.text, Qt::CaseInsensitive);
    }
    switch (t.op) {
    case FilterTerm::Eq:
        return cmp == 0;
    case FilterTerm::Ne:
        return cmp != 0;
    case FilterTerm::Lt:
        return cmp < 0;
    case FilterTerm::Le:
        return cmp <= 0;
    case FilterTerm::Gt:
        return cmp > 0;
    case FilterTerm::Ge:
        return cmp >= 0;
    default:
        return true;
    }
}

} // namespace

void DataGrid::applyFilters() {
    if (!dataSet_)
        return;
    std::vector<FilterTerm> terms;
    if (filterRowVisible_)
        for (auto it = filters_.cbegin(); it != filters_.cend(); ++it) {
            const int f = dataSet_->fieldIndex(it.key());
            if (f >= 0 && !it.value().trimmed().isEmpty())
                terms.push_back(parseTerm(dataSet_->field(f), f, it.value()));
        }
    if (terms.empty()) {
        if (predicateSet_) {
            predicateSet_ = false;
            dataSet_->setRowPredicate(nullptr);
        }
        return;
    }
    const DataSet* ds = dataSet_;
    predicateSet_ = true;
    dataSet_->setRowPredicate([ds, terms](int stored) {
        for (const FilterTerm& t : terms)
            if (!termMatches(*ds, stored, t))
                return false;
        return true;
    });
}

// ---------------------------------------------------------------- footer

void DataGrid::setFooterVisible(bool visible) {
    footerVisible_ = visible;
    updateGeometries();
}

void DataGrid::invalidateFooter() {
    footerDirty_ = true;
    if (footerVisible_)
        footer_->update();
}

void DataGrid::recalcFooter() {
    invalidateFooter();
    viewport()->update();
}

QString DataGrid::footerText(const QString& field) const {
    if (!dataSet_ || !dataSet_->isOpen())
        return {};
    const int f = dataSet_->fieldIndex(field);
    const GridColumn* c = columnForField(f);
    if (f < 0 || !c || !c->footerSum)
        return {};
    if (footerDirty_) {
        footerCache_.clear();
        footerDirty_ = false;
    }
    const auto cached = footerCache_.constFind(f);
    if (cached != footerCache_.cend())
        return *cached;
    const FieldDef& def = dataSet_->field(f);
    const int rows = dataSet_->rowCount();
    QString sum;
    if (def.kind == FieldKind::Float) {
        double total = 0;
        for (int r = 0; r < rows; ++r)
            total += dataSet_->valueAt(r, f).toDouble();
        sum = QString::number(total, 'f', 6);
    } else if (def.isNumber()) {
        // Exact: Numeric values are summed as scaled integers.
        qint64 total = 0;
        for (int r = 0; r < rows; ++r)
            total += dataSet_->scaledAt(r, f);
        sum = scaledToText(total, def.kind == FieldKind::Numeric ? def.scale : 0);
    } else {
        footerCache_.insert(f, QString());
        return {};
    }
    QString text;
    if (!c->footerFormat.isEmpty())
        text = formatDecimal(c->footerFormat, sum);
    else if (def.kind == FieldKind::Float)
        text = QString::number(sum.toDouble(), 'g', 15);
    else
        text = sum;
    footerCache_.insert(f, text);
    return text;
}

// ---------------------------------------------------------------- texts

QString DataGrid::displayText(int row, int field) const {
    if (!dataSet_ || !dataSet_->isOpen() || row < 0 || row >= dataSet_->rowCount())
        return {};
    const GridColumn* c = columnForField(field);
    const FieldDef& def = dataSet_->field(field);
    if (c && !c->displayFormat.isEmpty() && def.isNumber() && !dataSet_->isNullAt(row, field)) {
        if (def.kind == FieldKind::Float)
            return formatDecimal(c->displayFormat,
                                 QString::number(dataSet_->valueAt(row, field).toDouble(), 'f', 6));
        return formatDecimal(c->displayFormat, dataSet_->textAt(row, field));
    }
    return dataSet_->textAt(row, field);
}

// ---------------------------------------------------------------- sorting

void DataGrid::sortByField(int field, bool add) {
    if (!dataSet_ || !dataSet_->isOpen() || field < 0 || field >= dataSet_->fieldCount())
        return;
    if (dataSet_->field(field).kind == FieldKind::Blob)
        return;
    QList<DataSet::SortKey> keys = dataSet_->sort();
    qsizetype at = -1;
    for (qsizetype k = 0; k < keys.size(); ++k)
        if (keys[k].field == field)
            at = k;
    if (add) {
        if (at >= 0)
            keys[at].descending = !keys[at].descending;
        else
            keys.append({field, false});
    } else if (at >= 0 && keys.size() == 1) {
        keys[0].descending = !keys[0].descending;
    } else {
        keys = {{field, false}};
    }
    dataSet_->setSort(keys);
    header_->viewport()->update();
}

// ---------------------------------------------------------------- selection

QItemSelectionModel::SelectionFlags DataGrid::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    if (selectionMode() != ExtendedSelection || !event)
        return QItemSelectionModel::NoUpdate;
    Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* me = static_cast<const QMouseEvent*>(event);
        mods = me->modifiers();
        if (me->button() != Qt::LeftButton)
            return QItemSelectionModel::NoUpdate; // the pop-up keeps the selection
        if (mods & Qt::ControlModifier)
            return event->type() == QEvent::MouseButtonPress
                       ? QItemSelectionModel::Toggle | QItemSelectionModel::Rows
                       : QItemSelectionModel::NoUpdate;
        if (mods & Qt::ShiftModifier)
            return QTableView::selectionCommand(index, event);
        return QItemSelectionModel::Clear;
    }
    case QEvent::MouseMove:
        if (mods & Qt::ShiftModifier)
            return QTableView::selectionCommand(index, event);
        return QItemSelectionModel::NoUpdate;
    case QEvent::KeyPress:
        mods = static_cast<const QKeyEvent*>(event)->modifiers();
        if (mods & Qt::ShiftModifier)
            return QTableView::selectionCommand(index, event);
        if (mods & Qt::ControlModifier)
            return QItemSelectionModel::NoUpdate;
        return QItemSelectionModel::Clear;
    default:
        return QItemSelectionModel::NoUpdate;
    }
}

QList<int> DataGrid::selectedRowList() const {
    QList<int> rows;
    if (!model_ || !selectionModel())
        return rows;
    const int count = model_->rowCount();
    std::vector<char> marked(count, 0);
    bool any = false;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom() && r < count; ++r) {
            marked[r] = 1;
            any = true;
        }
    if (any) {
        rows.reserve(count);
        for (int r = 0; r < count; ++r)
            if (marked[r])
                rows << r;
    }
    if (rows.isEmpty() && currentIndex().isValid())
        rows << currentIndex().row();
    return rows;
}

GridSelection DataGrid::currentSelection() const {
    GridSelection s;
    if (!dataSet_ || !dataSet_->isOpen())
        return s;
    s.rows = selectedRowList();
    const bool anySelected = selectionModel() && selectionModel()->hasSelection();
    if (anySelected || !currentIndex().isValid()) {
        s.columns = visibleColumns();
    } else {
        const int f = currentIndex().column();
        s.columns = {{f, columnTitle(f)}}; // nothing selected: the focused cell
    }
    return s;
}

bool DataGrid::canSelectAll() const {
    return (actions_ & SelectAll) && dataSet_ && dataSet_->isOpen() && !dataSet_->isEmpty();
}

void DataGrid::selectAllRows() {
    if (canSelectAll())
        QTableView::selectAll();
}

void DataGrid::selectAll() {
    selectAllRows();
}

void DataGrid::copyToClipboard() {
    if (!(actions_ & Copy) || !dataSet_ || !dataSet_->isOpen())
        return;
    const GridSelection s = currentSelection();
    if (s.rows.isEmpty() || s.columns.isEmpty())
        return;
    GridExportSource source(this, s);
    auto* mime = new QMimeData;
    QByteArray text;
    QBuffer textBuffer(&text);
    textBuffer.open(QIODevice::WriteOnly);
    writeClipboardText(source, textBuffer, s.rows.size() > 1 || s.columns.size() > 1);
    mime->setText(QString::fromUtf8(text));
    QByteArray html;
    QBuffer htmlBuffer(&html);
    htmlBuffer.open(QIODevice::WriteOnly);
    writeHtml(source, htmlBuffer, HtmlEncoding::Utf8);
    mime->setHtml(QString::fromUtf8(html));
    QGuiApplication::clipboard()->setMimeData(mime);
}

// ---------------------------------------------------------------- editing

bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!cellEditable(index))
        return false;
    const GridColumn* c = columnForField(index.column());
    if (c && c->isCheckBox())
        return QTableView::edit(index, trigger, event); // toggled by the delegate
    return QTableView::edit(index, trigger, event);
}

QRect DataGrid::editButtonRect(const QModelIndex& index) const {
    const GridColumn* c = columnForField(index.column());
    if (!c || c->button == GridColumn::Button::None || index != currentIndex())
        return {};
    const QRect cell = visualRect(index);
    const int side = std::min(cell.height(), 18);
    return QRect(cell.right() - side + 1, cell.top(), side, cell.height());
}

void DataGrid::pressEditButton() {
    const QModelIndex index = currentIndex();
    const int ci = columnIndexOfField(index.column());
    if (ci < 0 || columns_[ci].button == GridColumn::Button::None)
        return;
    emit editButtonDown(ci);
    if (!currentIndex().isValid() || currentIndex() != index || ci >= columns_.size())
        return;
    const GridColumn& c = columns_[ci];
    const bool drop = !c.pickList.isEmpty() && c.button == GridColumn::Button::Auto;
    if (!drop)
        emit editButtonClicked(ci);
    if (state() == EditingState || !cellEditable(index))
        return;
    QTableView::edit(index);
    auto* delegate = static_cast<GridDelegate*>(itemDelegate());
    if (drop)
        if (auto* combo = qobject_cast<QComboBox*>(delegate->lastEditor.data()))
            combo->showPopup();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid() && dataSet_ && dataSet_->isOpen() &&
        dataSet_->currentRow() != current.row())
        dataSet_->setCurrentRow(current.row());
    if (current.row() != previous.row() || current.column() != previous.column())
        viewport()->update(); // row highlight and the edit button follow
}

// ---------------------------------------------------------------- keys and mouse

bool DataGrid::incrementalSearch(const QString& typed) {
    if (!dataSet_ || !dataSet_->isOpen() || dataSet_->isEmpty())
        return false;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastSearchKey_ > 1500)
        search_.clear();
    lastSearchKey_ = now;
    const QString candidate = search_ + typed;
    int field = currentIndex().column();
    if (field < 0)
        field = header_->logicalIndex(0);
    const int rows = dataSet_->rowCount();
    const int start = std::max(0, currentIndex().row());
    for (int i = 0; i < rows; ++i) {
        const int r = (start + i) % rows;
        if (displayText(r, field).startsWith(candidate, Qt::CaseInsensitive)) {
            search_ = candidate;
            setCurrentIndex(model_->index(r, field));
            scrollTo(currentIndex());
            return true;
        }
    }
    Dialogs::instance().beep();
    return false;
}

bool DataGrid::findNext(const QString& text, int field, bool matchCase, bool wholeField,
                        bool forward) {
    if (!dataSet_ || !dataSet_->isOpen() || text.isEmpty())
        return false;
    QList<int> fields;
    if (field >= 0)
        fields << field;
    else
        for (const auto& [f, title] : visibleColumns())
            fields << f;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int rows = dataSet_->rowCount();
    const int step = forward ? 1 : -1;
    for (int r = currentIndex().row() + step; r >= 0 && r < rows; r += step)
        for (int f : fields) {
            const QString cell = displayText(r, f);
            if (wholeField ? cell.compare(text, cs) == 0 : cell.contains(text, cs)) {
                setCurrentIndex(model_->index(r, f));
                scrollTo(currentIndex());
                return true;
            }
        }
    return false;
}

void DataGrid::showFindDialog() {
    if (!findDialog_)
        findDialog_ = new FindDialog(this);
    findDialog_->prepare();
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAllRows();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Find)) {
        showFindDialog();
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((event->key() == Qt::Key_Down && mods == Qt::AltModifier) ||
        (enter && mods == Qt::ControlModifier)) {
        pressEditButton();
        event->accept();
        return;
    }
    if (enter && enterAsTab_ && mods == Qt::NoModifier && state() != EditingState) {
        QModelIndex next = moveCursor(MoveNext, Qt::NoModifier);
        if (next.isValid())
            setCurrentIndex(next);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(mods & (Qt::ControlModifier | Qt::AltModifier));
    const GridColumn* c = columnForField(currentIndex().column());
    const bool checkBox = c && c->isCheckBox();
    if (printable && !(cellEditable(currentIndex()) && !checkBox) &&
        !(checkBox && typed == QStringLiteral(" "))) {
        incrementalSearch(typed);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Backspace && !search_.isEmpty() && !cellEditable(currentIndex())) {
        search_.chop(1);
        lastSearchKey_ = QDateTime::currentMSecsSinceEpoch();
        event->accept();
        return;
    }
    search_.clear();
    QTableView::keyPressEvent(event);
}

void DataGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index == currentIndex() &&
        editButtonRect(index).contains(event->position().toPoint())) {
        event->accept();
        pressEditButton();
        return;
    }
    search_.clear();
    QTableView::mousePressEvent(event);
}

bool DataGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Cut text shows whole in a tool tip.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
        const int needed = fontMetrics().horizontalAdvance(text) + 8;
        if (!text.isEmpty() && needed > visualRect(index).width())
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
}

} // namespace platform
