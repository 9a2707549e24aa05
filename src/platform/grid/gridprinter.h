#pragma once

#include "platform/grid/datagrid.h"

#include <QFont>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;
class QWidget;

namespace platform {

// Prints a data grid: its visible columns in grid order fitted to the page
// width, every row (rows grow to hold wrapped text), the footer when shown.
// Each page has a centred page header with a double line under it; the
// first page has the title lines and the text before the grid, the last
// one the text after it. Texts may hold macros: "&[Page]" is the page
// number; others are registered with setSubstitution ("%[Today]").
class GridPrinter {
public:
    // A line of text before or after the grid: pieces of one line, each
    // with its own font (bold Arial 10 followed by bold Arial 8, say).
    struct Piece {
        QString text;
        QFont font;
    };
    struct Line {
        QList<Piece> pieces;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    void setGrid(DataGrid* grid) { grid_ = grid; }
    DataGrid* grid() const { return grid_; }

    void setPageHeader(const QString& centreText) { pageHeader_ = centreText; }
    void setTitleLines(const QStringList& lines) { title_ = lines; }
    void setBeforeGrid(const QList<Line>& lines) { before_ = lines; }
    void setAfterGrid(const QList<Line>& lines) { after_ = lines; }
    void setFont(const QFont& font) { font_ = font; }
    void setSubstitution(const QString& macro, const QString& value) { macros_[macro] = value; }

    // Prints on a printer (a PDF file printer too).
    void print(QPrinter& printer) const;
    // The modal print preview; printing is done from it.
    void preview(QWidget* parent) const;

private:
    QString substituted(QString text, int page) const;

    QPointer<DataGrid> grid_;
    QString pageHeader_;
    QStringList title_;
    QList<Line> before_;
    QList<Line> after_;
    QFont font_{QStringLiteral("Arial"), 9};
    QMap<QString, QString> macros_;
};

} // namespace platform
