#include "platform/grid/gridprinter.h"

#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <functional>

namespace platform {

QString GridPrinter::substituted(QString text, int page) const {
    text.replace(QLatin1String("&[Page]"), QString::number(page));
    for (auto it = macros_.cbegin(); it != macros_.cend(); ++it)
        text.replace(it.key(), it.value());
    return text;
}

namespace {

// Draws the grid's rows down the pages; starts a new page when a row does
// not fit.
class PageWriter {
public:
    // `top`: where the rows start under the page header.
    PageWriter(QPrinter& printer, std::function<void(int)> pageStart, double top)
        : printer_(printer)
        , pageStart_(std::move(pageStart))
        , top_(top) {
        const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
        width_ = paper.width();
        height_ = paper.height();
        pageStart_(page_);
        y = top_;
    }

    // Room for `needed` more pixels, or a new page (a row taller than a
    // page is printed anyway).
    void ensure(double needed) {
        if (y + needed <= height_ || y <= top_)
            return;
        printer_.newPage();
        ++page_;
        pageStart_(page_);
        y = top_;
    }

    double width_ = 0;
    double height_ = 0;
    double y = 0;

private:
    QPrinter& printer_;
    std::function<void(int)> pageStart_;
    double top_ = 0;
    int page_ = 1;
};

} // namespace

void GridPrinter::print(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const double dot = printer.resolution() / 25.4; // pixels per millimetre
    const QFont bold = [this] {
        QFont f = font_;
        f.setBold(true);
        return f;
    }();
    const QFontMetricsF plain(font_, &printer);
    const double pad = 0.8 * dot;

    QList<int> fields;
    QList<double> widths;
    QStringList titles;
    const DataSet* ds = grid_ ? grid_->dataSet() : nullptr;
    if (ds && ds->isOpen()) {
        for (const auto& [field, title] : grid_->visibleColumns()) {
            fields << field;
            titles << title;
            widths << grid_->horizontalHeader()->sectionSize(field);
        }
    }

    auto drawLine = [&](PageWriter& w, const Line& line) {
        double total = 0, height = 0;
        for (const Piece& piece : line.pieces) {
            const QFontMetricsF fm(piece.font, &printer);
            total += fm.horizontalAdvance(substituted(piece.text, 1));
            height = std::max(height, fm.height());
        }
        if (line.pieces.isEmpty())
            height = plain.height();
        w.ensure(height);
        double x = 0;
        if (line.alignment & Qt::AlignHCenter)
            x = (w.width_ - total) / 2;
        else if (line.alignment & Qt::AlignRight)
            x = w.width_ - total;
        for (const Piece& piece : line.pieces) {
            const QFontMetricsF fm(piece.font, &printer);
            const QString text = substituted(piece.text, 1);
            painter.setFont(piece.font);
            painter.drawText(QPointF(x, w.y + height - fm.descent()), text);
            x += fm.horizontalAdvance(text);
        }
        w.y += height;
    };

    // Columns fitted to the page width.
    QList<double> columnX;
    auto fit = [&](double pageWidth) {
        double total = 0;
        for (double c : widths)
            total += c;
        columnX.clear();
        double x = 0;
        for (double& c : widths) {
            columnX << x;
            c = total > 0 ? c * pageWidth / total : 0;
            x += c;
        }
    };

    auto rowHeight = [&](const QStringList& texts, const QFont& font) {
        const QFontMetricsF fm(font, &printer);
        double h = fm.height();
        for (int c = 0; c < texts.size(); ++c) {
            const QRectF r = fm.boundingRect(QRectF(0, 0, std::max(1.0, widths[c] - 2 * pad), 1e6),
                                             Qt::TextWordWrap, texts[c]);
            h = std::max(h, r.height());
        }
        return h + 2 * pad;
    };

    auto drawRow = [&](PageWriter& w, const QStringList& texts, const QFont& font,
                       const QList<QColor>& fills, const QList<Qt::Alignment>& aligns) {
        const double h = rowHeight(texts, font);
        painter.setFont(font);
        for (int c = 0; c < texts.size(); ++c) {
            const QRectF cell(columnX[c], w.y, widths[c], h);
            if (c < fills.size() && fills[c].isValid())
                painter.fillRect(cell, fills[c]);
            painter.setPen(QPen(Qt::black, 0));
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(pad, pad, -pad, -pad),
                             int(aligns.value(c, Qt::AlignLeft)) | Qt::TextWordWrap, texts[c]);
        }
        w.y += h;
    };

    QList<QColor> titleFills;
    for (int c = 0; c < titles.size(); ++c)
        titleFills << QColor(0xE0, 0xE0, 0xE0);
    QList<Qt::Alignment> centred(titles.size(), Qt::AlignHCenter);

    bool titlesOnPage = false;
    auto pageStart = [&](int page) {
        // Centre header with a double line under it.
        const QFontMetricsF fm(font_, &printer);
        painter.setFont(font_);
        const QString header = substituted(pageHeader_, page);
        if (!header.isEmpty()) {
            painter.drawText(QRectF(0, 0, painter.device()->width(), fm.height()), Qt::AlignHCenter,
                             header);
        }
        const double line = fm.height() + 0.8 * dot;
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(0, line), QPointF(painter.device()->width(), line));
        painter.drawLine(QPointF(0, line + 0.6 * dot),
                         QPointF(painter.device()->width(), line + 0.6 * dot));
        titlesOnPage = false;
    };
    PageWriter w(printer, pageStart, plain.height() + 3 * dot);
    fit(w.width_);

    for (const QString& t : title_)
        drawLine(w, Line{{Piece{t, font_}}, Qt::AlignHCenter});
    for (const Line& line : before_)
        drawLine(w, line);

    auto ensureTitles = [&] {
        if (!titlesOnPage && !titles.isEmpty()) {
            titlesOnPage = true;
            drawRow(w, titles, bold, titleFills, centred);
        }
    };

    QList<Qt::Alignment> aligns;
    for (int f : fields)
        aligns << (ds->field(f).isNumber() ? Qt::AlignRight : Qt::AlignLeft);
    const int rows = ds && ds->isOpen() ? ds->rowCount() : 0;
    QStringList texts;
    for (int r = 0; r < rows; ++r) {
        texts.clear();
        for (int f : fields)
            texts << grid_->displayText(r, f);
        const double h = rowHeight(texts, font_);
        w.ensure(h + (titlesOnPage ? 0 : rowHeight(titles, bold)));
        ensureTitles();
        drawRow(w, texts, font_, {}, aligns);
    }
    if (grid_ && grid_->footerVisible() && !fields.isEmpty()) {
        texts.clear();
        QList<QColor> fills;
        for (int f : fields) {
            const GridColumn* c = grid_->columnForField(f);
            texts << (c ? grid_->footerText(c->field) : QString());
            fills << (c ? c->footerColor : QColor());
        }
        w.ensure(rowHeight(texts, font_));
        ensureTitles();
        drawRow(w, texts, font_, fills, QList<Qt::Alignment>(fields.size(), Qt::AlignRight));
    }
    ensureTitles();
    for (const Line& line : after_)
        drawLine(w, line);
    painter.end();
}

void GridPrinter::preview(QWidget* parent) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PreviewGrid"));
    dialog.setWindowTitle(QStringLiteral("Vista previa"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* p) { print(*p); });
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

} // namespace platform
