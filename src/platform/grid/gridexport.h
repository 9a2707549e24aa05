#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <stdexcept>

class QAbstractItemModel;
class QIODevice;

namespace platform {

class DataGrid;
class DataSet;
struct GridSelection;

// A table to write: column titles and the cells of a list of rows, read
// from where they live (no copy of the rows is made).
class ExportSource {
public:
    enum class Type { Empty, Text, Number, Date, DateTime };
    struct Value {
        Type type = Type::Empty;
        QString text;      // plain text: no display format ("1234.50", "11/12/2026")
        double number = 0; // numbers; dates as days since 30/12/1899 (spreadsheet serials)
    };

    virtual ~ExportSource() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString title(int column) const = 0;
    // What the grid shows in a cell (display formats applied).
    virtual QString text(int row, int column) const = 0;
    virtual Value value(int row, int column) const = 0;
    // Width of a column in pixels as shown (0: unknown).
    virtual int width(int) const { return 0; }
    // Longest text a column can hold (-1: unknown), which spares a pass
    // over short columns.
    virtual int maxTextLength(int) const { return -1; }
};

// Rows of a DataSet under columns (field index and title), optionally
// shown through a grid (display formats, widths).
class DataSetExportSource : public ExportSource {
public:
    DataSetExportSource(const DataSet& dataSet, QList<int> rows, QList<QPair<int, QString>> columns,
                        const DataGrid* grid = nullptr);
    int rowCount() const override { return int(rows_.size()); }
    int columnCount() const override { return int(columns_.size()); }
    QString title(int column) const override { return columns_[column].second; }
    QString text(int row, int column) const override;
    Value value(int row, int column) const override;
    int width(int column) const override;
    int maxTextLength(int column) const override;

private:
    const DataSet& dataSet_;
    QList<int> rows_;
    QList<QPair<int, QString>> columns_;
    const DataGrid* grid_;
};

// A grid's selection (see DataGrid::currentSelection).
class GridExportSource : public DataSetExportSource {
public:
    GridExportSource(const DataGrid* grid, const GridSelection& selection);
};

// Rows and columns of any item model; titles from its horizontal header.
class ModelExportSource : public ExportSource {
public:
    ModelExportSource(const QAbstractItemModel& model, QList<int> rows, QList<int> columns);
    int rowCount() const override { return int(rows_.size()); }
    int columnCount() const override { return int(columns_.size()); }
    QString title(int column) const override;
    QString text(int row, int column) const override;
    Value value(int row, int column) const override;

private:
    const QAbstractItemModel& model_;
    QList<int> rows_;
    QList<int> columns_;
};

enum class ExportKind { Text, Csv, Html, Rtf, Xls };
enum class HtmlEncoding { Ansi, Utf8 };

// The writers. Each writes a title row and then the rows, columns in the
// source's order. 8-bit formats are Windows-1252 with CR LF line ends.
// Tab-separated text, one line per row.
void writeText(const ExportSource& source, QIODevice& out);
// RFC 4180: commas, fields with a comma, quote or line break in quotes,
// quotes doubled. Numbers are written plain (no thousands separators).
void writeCsv(const ExportSource& source, QIODevice& out);
// One HTML table; characters outside the encoding as character references.
void writeHtml(const ExportSource& source, QIODevice& out,
               HtmlEncoding encoding = HtmlEncoding::Ansi);
// One RTF table, Arial, title row in bold.
void writeRtf(const ExportSource& source, QIODevice& out);
// An Excel 97-2003 workbook (BIFF8 in a compound file). Numbers are number
// cells, dates date cells, the rest text. A sheet holds the title row and
// up to 65,535 rows; more rows continue on further sheets ("Hoja1",
// "Hoja2", ...). Columns past the 256th do not fit the format and are left
// out. The device must be seekable (a file).
void writeXls(const ExportSource& source, QIODevice& out);
// Tab-separated UTF-8 text for the clipboard; titles first when asked.
void writeClipboardText(const ExportSource& source, QIODevice& out, bool withTitles);

// A file that could not be created or written.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& text)
        : std::runtime_error(text.toStdString())
        , text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Writes a file of a kind (created, or overwritten when it exists). Throws
// FileError when the file cannot be created or written.
void exportToFile(ExportKind kind, const ExportSource& source, const QString& path);

} // namespace platform
