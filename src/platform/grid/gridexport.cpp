#include "platform/grid/gridexport.h"

#include "platform/ansi.h"
#include "platform/data/dataset.h"
#include "platform/grid/datagrid.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QSaveFile>
#include <cstring>

namespace platform {

namespace {

constexpr qint64 kExcelEpochJulian = 2415019; // 30/12/1899

// Buffered output: the writers append small pieces, the device gets large ones.
class Sink {
public:
    explicit Sink(QIODevice& device)
        : device_(device) {
        buffer_.reserve(kChunk + 4096);
    }
    // The writers flush at their end; a failed write leaves the rest unsent.
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    void put(const char* data, qsizetype size) {
        buffer_.append(data, size);
        written_ += size;
        if (buffer_.size() >= kChunk)
            flush();
    }
    void put(char c) {
        buffer_.append(c);
        ++written_;
        if (buffer_.size() >= kChunk)
            flush();
    }
    void flush() {
        if (buffer_.isEmpty())
            return;
        if (device_.write(buffer_) != buffer_.size()) {
            buffer_.clear();
            throw FileError(QStringLiteral("Cannot write file. %1").arg(device_.errorString()));
        }
        buffer_.clear();
    }
    qint64 written() const { return written_; }

private:
    static constexpr qsizetype kChunk = 1 << 20;
    QIODevice& device_;
    QByteArray buffer_;
    qint64 written_ = 0;
};

QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

} // namespace

// ---------------------------------------------------------------- sources

DataSetExportSource::DataSetExportSource(const DataSet& dataSet, QList<int> rows,
                                         QList<QPair<int, QString>> columns, const DataGrid* grid)
    : dataSet_(dataSet)
    , rows_(std::move(rows))
    , columns_(std::move(columns))
    , grid_(grid) {}

QString DataSetExportSource::text(int row, int column) const {
    const int r = rows_[row];
    const int f = columns_[column].first;
    return grid_ ? grid_->displayText(r, f) : dataSet_.textAt(r, f);
}

ExportSource::Value DataSetExportSource::value(int row, int column) const {
    const int r = rows_[row];
    const int f = columns_[column].first;
    Value v;
    if (dataSet_.isNullAt(r, f))
        return v;
    const FieldDef& def = dataSet_.field(f);
    v.text = dataSet_.textAt(r, f);
    switch (def.kind) {
    case FieldKind::Integer:
    case FieldKind::LargeInt:
        v.type = Type::Number;
        v.number = double(dataSet_.scaledAt(r, f));
        break;
    case FieldKind::Numeric: {
        v.type = Type::Number;
        double scale = 1;
        for (int i = 0; i < def.scale; ++i)
            scale *= 10;
        v.number = double(dataSet_.scaledAt(r, f)) / scale;
        break;
    }
    case FieldKind::Float:
        v.type = Type::Number;
        v.number = dataSet_.valueAt(r, f).toDouble();
        break;
    case FieldKind::Date:
        v.type = Type::Date;
        v.number = double(dataSet_.valueAt(r, f).toDate().toJulianDay() - kExcelEpochJulian);
        break;
    case FieldKind::DateTime: {
        const QDateTime dt = dataSet_.valueAt(r, f).toDateTime();
        v.type = Type::DateTime;
        v.number = double(dt.date().toJulianDay() - kExcelEpochJulian) +
                   dt.time().msecsSinceStartOfDay() / 86400000.0;
        break;
    }
    default:
        v.type = Type::Text;
        break;
    }
    return v;
}

int DataSetExportSource::width(int column) const {
    if (!grid_)
        return 0;
    return grid_->horizontalHeader()->sectionSize(columns_[column].first);
}

int DataSetExportSource::maxTextLength(int column) const {
    const FieldDef& def = dataSet_.field(columns_[column].first);
    if (def.kind == FieldKind::Memo || (def.isText() && def.size <= 0))
        return -1;
    if (def.isText())
        return def.size;
    return def.kind == FieldKind::Blob ? 6 : 0; // "(BLOB)", numbers and dates
}

GridExportSource::GridExportSource(const DataGrid* grid, const GridSelection& selection)
    : DataSetExportSource(*grid->dataSet(), selection.rows, selection.columns, grid) {}

ModelExportSource::ModelExportSource(const QAbstractItemModel& model, QList<int> rows,
                                     QList<int> columns)
    : model_(model)
    , rows_(std::move(rows))
    , columns_(std::move(columns)) {}

QString ModelExportSource::title(int column) const {
    return model_.headerData(columns_[column], Qt::Horizontal, Qt::DisplayRole).toString();
}

QString ModelExportSource::text(int row, int column) const {
    return model_.index(rows_[row], columns_[column]).data(Qt::DisplayRole).toString();
}

ExportSource::Value ModelExportSource::value(int row, int column) const {
    const QVariant data = model_.index(rows_[row], columns_[column]).data(Qt::EditRole);
    Value v;
    if (!data.isValid() || data.isNull())
        return v;
    v.text = text(row, column);
    switch (data.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        v.type = Type::Number;
        v.number = data.toDouble();
        v.text = data.toString();
        break;
    case QMetaType::QDate:
        v.type = Type::Date;
        v.number = double(data.toDate().toJulianDay() - kExcelEpochJulian);
        break;
    case QMetaType::QDateTime: {
        const QDateTime dt = data.toDateTime();
        v.type = Type::DateTime;
        v.number = double(dt.date().toJulianDay() - kExcelEpochJulian) +
                   dt.time().msecsSinceStartOfDay() / 86400000.0;
        break;
    }
    default:
        v.type = Type::Text;
        break;
    }
    return v;
}

// ---------------------------------------------------------------- text and CSV

void writeText(const ExportSource& source, QIODevice& out) {
    Sink sink(out);
    const int columns = source.columnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            sink.put('\t');
        sink.put(toAnsi(oneLine(source.title(c))));
    }
    sink.put("\r\n", 2);
    for (int r = 0; r < source.rowCount(); ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                sink.put('\t');
            sink.put(toAnsi(oneLine(source.text(r, c))));
        }
        sink.put("\r\n", 2);
    }
    sink.flush();
}

void writeClipboardText(const ExportSource& source, QIODevice& out, bool withTitles) {
    Sink sink(out);
    const int columns = source.columnCount();
    auto line = [&](auto cell) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                sink.put('\t');
            sink.put(oneLine(cell(c)).toUtf8());
        }
    };
    if (withTitles) {
        line([&](int c) { return source.title(c); });
        sink.put('\n');
    }
    for (int r = 0; r < source.rowCount(); ++r) {
        if (r > 0)
            sink.put('\n');
        line([&](int c) { return source.text(r, c); });
    }
    sink.flush();
}

namespace {

void putCsvField(Sink& sink, const QString& text) {
    bool quote = false;
    for (QChar c : text)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n')) {
            quote = true;
            break;
        }
    if (!quote) {
        sink.put(toAnsi(text));
        return;
    }
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    sink.put('"');
    sink.put(toAnsi(inner));
    sink.put('"');
}

} // namespace

void writeCsv(const ExportSource& source, QIODevice& out) {
    Sink sink(out);
    const int columns = source.columnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            sink.put(',');
        putCsvField(sink, source.title(c));
    }
    sink.put("\r\n", 2);
    for (int r = 0; r < source.rowCount(); ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                sink.put(',');
            putCsvField(sink, source.value(r, c).text);
        }
        sink.put("\r\n", 2);
    }
    sink.flush();
}

// ---------------------------------------------------------------- HTML

namespace {

QByteArray htmlEscaped(const QString& text, HtmlEncoding encoding) {
    QString s;
    s.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&':
            s += QStringLiteral("&amp;");
            break;
        case '<':
            s += QStringLiteral("&lt;");
            break;
        case '>':
            s += QStringLiteral("&gt;");
            break;
        case '"':
            s += QStringLiteral("&quot;");
            break;
        default:
            s += c;
        }
    }
    if (encoding == HtmlEncoding::Utf8)
        return s.toUtf8();
    // Characters Windows-1252 lacks become character references.
    QByteArray bytes = toAnsi(s);
    if (!bytes.contains('?'))
        return bytes;
    QByteArray out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const QByteArray one = toAnsi(QString(c));
        if (one == "?" && c != QLatin1Char('?')) {
            const char32_t code = c.isHighSurrogate() && i + 1 < s.size()
                                      ? QChar::surrogateToUcs4(c, s.at(++i))
                                      : c.unicode();
            out += "&#" + QByteArray::number(quint32(code)) + ';';
        } else {
            out += one;
        }
    }
    return out;
}

} // namespace

void writeHtml(const ExportSource& source, QIODevice& out, HtmlEncoding encoding) {
    Sink sink(out);
    const QByteArray charset = encoding == HtmlEncoding::Utf8 ? "utf-8" : "windows-1252";
    sink.put("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html>\r\n<head>\r\n"
             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
             charset + "\">\r\n</head>\r\n<body>\r\n");
    sink.put("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\r\n<thead>\r\n<tr>");
    const int columns = source.columnCount();
    for (int c = 0; c < columns; ++c)
        sink.put("<th>" + htmlEscaped(source.title(c), encoding) + "</th>");
    sink.put("</tr>\r\n</thead>\r\n<tbody>\r\n");
    for (int r = 0; r < source.rowCount(); ++r) {
        sink.put("<tr>");
        for (int c = 0; c < columns; ++c) {
            const ExportSource::Value v = source.value(r, c);
            sink.put(v.type == ExportSource::Type::Number ? "<td align=\"right\">" : "<td>");
            sink.put(htmlEscaped(source.text(r, c), encoding));
            sink.put("</td>");
        }
        sink.put("</tr>\r\n");
    }
    sink.put("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n");
    sink.flush();
}

// ---------------------------------------------------------------- RTF

namespace {

QByteArray rtfEscaped(const QString& text) {
    QByteArray out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\r') {
            continue;
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x80) {
            out += char(u);
        } else {
            const QByteArray ansi = toAnsi(QString(c));
            if (ansi != "?") {
                out += "\\'" + QByteArray::number(quint8(ansi[0]), 16).rightJustified(2, '0');
            } else {
                // Outside the code page: the Unicode form, '?' for older readers.
                out += "\\u" + QByteArray::number(qint16(u)) + "?";
            }
        }
    }
    return out;
}

} // namespace

void writeRtf(const ExportSource& source, QIODevice& out) {
    Sink sink(out);
    sink.put("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
             "\\uc1\\f0\\fs18\r\n");
    const int columns = source.columnCount();
    QByteArray rowHead = "\\trowd\\trgaph70\\trleft0";
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const int pixels = source.width(c) > 0 ? source.width(c) : 120;
        right += pixels * 15; // twips at 96 dots per inch
        rowHead += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                   "\\clbrdrr\\brdrs\\brdrw10\\cellx" +
                   QByteArray::number(right);
    }
    rowHead += "\r\n";
    sink.put(rowHead);
    for (int c = 0; c < columns; ++c)
        sink.put("\\pard\\intbl\\qc{\\b " + rtfEscaped(source.title(c)) + "}\\cell\r\n");
    sink.put("\\row\r\n");
    for (int r = 0; r < source.rowCount(); ++r) {
        sink.put(rowHead);
        for (int c = 0; c < columns; ++c) {
            const bool number = source.value(r, c).type == ExportSource::Type::Number;
            sink.put(number ? "\\pard\\intbl\\qr " : "\\pard\\intbl\\ql ");
            sink.put(rtfEscaped(source.text(r, c)));
            sink.put("\\cell\r\n");
        }
        sink.put("\\row\r\n");
    }
    sink.put("\\pard\\par\r\n}\r\n");
    sink.flush();
}

// ---------------------------------------------------------------- XLS (BIFF8)

namespace {

// Little-endian record builder.
class Bytes {
public:
    QByteArray data;
    void u8(int v) { data.append(char(v & 0xFF)); }
    void u16(int v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(quint32 v) {
        u16(int(v & 0xFFFF));
        u16(int(v >> 16));
    }
    void f64(double v) {
        char raw[8];
        std::memcpy(raw, &v, 8);
        data.append(raw, 8); // little-endian hosts (x86, ARM)
    }
    void raw(const QByteArray& bytes) { data.append(bytes); }
    void zeros(int n) { data.append(QByteArray(n, '\0')); }
};

bool fitsCompressed(const QString& s) {
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

// Characters of a BIFF8 string: one byte each when they all fit, else UTF-16LE.
void putChars(Bytes& b, const QString& s, bool compressed) {
    if (compressed) {
        for (QChar c : s)
            b.u8(c.unicode());
    } else {
        for (QChar c : s)
            b.u16(c.unicode());
    }
}

// XLUnicodeString: 16-bit length, flags, characters.
void putString16(Bytes& b, const QString& s) {
    const bool compressed = fitsCompressed(s);
    b.u16(int(s.size()));
    b.u8(compressed ? 0 : 1);
    putChars(b, s, compressed);
}

// ShortXLUnicodeString: 8-bit length, flags, characters.
void putString8(Bytes& b, const QString& s) {
    const bool compressed = fitsCompressed(s);
    b.u8(int(s.size()));
    b.u8(compressed ? 0 : 1);
    putChars(b, s, compressed);
}

// The workbook stream, written into the compound file as it is built.
class Workbook {
public:
    explicit Workbook(Sink& sink)
        : sink_(sink) {}

    void record(int type, const Bytes& body) { record(type, body.data); }
    void record(int type, const QByteArray& body) {
        char head[4] = {char(type & 0xFF), char(type >> 8), char(body.size() & 0xFF),
                        char(body.size() >> 8)};
        sink_.put(head, 4);
        sink_.put(body);
    }
    // Offset in the stream of the next byte.
    qint64 position() const { return sink_.written() - kHeaderSize; }

    static constexpr qint64 kHeaderSize = 512;

private:
    Sink& sink_;
};

void bof(Workbook& wb, int kind) {
    Bytes b;
    b.u16(0x0600);
    b.u16(kind);
    b.u16(0x0DBB); // build
    b.u16(0x07CC); // year
    b.u32(0x00000041);
    b.u32(0x00000006);
    wb.record(0x0809, b);
}

void u16Record(Workbook& wb, int type, int value) {
    Bytes b;
    b.u16(value);
    wb.record(type, b);
}

void font(Workbook& wb, bool bold) {
    Bytes b;
    b.u16(200); // 10 points
    b.u16(0);
    b.u16(0x7FFF);
    b.u16(bold ? 700 : 400);
    b.u16(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    putString8(b, QStringLiteral("Arial"));
    wb.record(0x0031, b);
}

void format(Workbook& wb, int index, const QString& code) {
    Bytes b;
    b.u16(index);
    putString16(b, code);
    wb.record(0x041E, b);
}

void xf(Workbook& wb, int fontIndex, int formatIndex, bool style, int usedAttributes) {
    Bytes b;
    b.u16(fontIndex);
    b.u16(formatIndex);
    b.u16(style ? 0xFFF5 : 0x0001); // style XF / cell XF locked, parent style 0
    b.u8(0x20);                     // bottom aligned
    b.u8(0);
    b.u8(0);
    b.u8(usedAttributes);
    b.u32(0);
    b.u32(0);
    b.u16(0x20C0);
    wb.record(0x00E0, b);
}

// Cell formats after the 16 standard ones.
enum { kXfDefault = 15, kXfTitle = 16, kXfDate = 17, kXfDateTime = 18 };

// Shared strings, only for texts longer than a text cell holds.
class SharedStrings {
public:
    void add(const QString& s) { strings_ << s; }
    bool isEmpty() const { return strings_.isEmpty(); }

    // SST with CONTINUE records; strings are stored as UTF-16 so that a
    // string split between records restarts with the same flag byte.
    void write(Workbook& wb) const {
        QByteArray current;
        Bytes head;
        head.u32(quint32(strings_.size()));
        head.u32(quint32(strings_.size()));
        current = head.data;
        int type = 0x00FC;
        constexpr int kMax = 8224;
        for (const QString& s : strings_) {
            if (current.size() + 3 + 2 > kMax) {
                wb.record(type, current);
                current.clear();
                type = 0x003C;
            }
            Bytes h;
            h.u16(int(s.size()));
            h.u8(1);
            current += h.data;
            qsizetype at = 0;
            while (at < s.size()) {
                const qsizetype room = (kMax - current.size()) / 2;
                if (room <= 0) {
                    wb.record(type, current);
                    type = 0x003C;
                    current = QByteArray(1, '\x01');
                    continue;
                }
                const qsizetype n = std::min(room, s.size() - at);
                Bytes chars;
                putChars(chars, s.mid(at, n), false);
                current += chars.data;
                at += n;
            }
        }
        wb.record(type, current);
    }

private:
    QStringList strings_;
};

constexpr int kMaxRowsPerSheet = 65536;
constexpr int kMaxColumns = 256;
constexpr int kMaxLabel = 255;
constexpr int kMaxCellText = 32767;

void writeGlobals(Workbook& wb, int sheets, const SharedStrings& sst,
                  QList<qint64>& sheetOffsetAt) {
    bof(wb, 0x0005);
    u16Record(wb, 0x00E1, 0x04B0); // INTERFACEHDR
    u16Record(wb, 0x00C1, 0);      // MMS
    wb.record(0x00E2, QByteArray());
    {
        Bytes b; // WRITEACCESS: user name padded with blanks
        putString16(b, QStringLiteral("Orvilex"));
        b.data.append(QByteArray(112 - b.data.size(), ' '));
        wb.record(0x005C, b);
    }
    u16Record(wb, 0x0042, 0x04B0); // CODEPAGE: UTF-16
    u16Record(wb, 0x0161, 0);      // DSF
    {
        Bytes b; // TABID
        for (int i = 0; i < sheets; ++i)
            b.u16(i + 1);
        wb.record(0x013D, b);
    }
    u16Record(wb, 0x0019, 0); // WINDOWPROTECT
    u16Record(wb, 0x0012, 0); // PROTECT
    u16Record(wb, 0x0013, 0); // PASSWORD
    {
        Bytes b; // WINDOW1
        b.u16(0x0168);
        b.u16(0x001E);
        b.u16(0x3A5C);
        b.u16(0x2328);
        b.u16(0x0038);
        b.u16(0);
        b.u16(0);
        b.u16(1);
        b.u16(0x0258);
        wb.record(0x003D, b);
    }
    u16Record(wb, 0x0040, 0); // BACKUP
    u16Record(wb, 0x008D, 0); // HIDEOBJ
    u16Record(wb, 0x0022, 0); // DATEMODE 1900
    u16Record(wb, 0x000E, 1); // PRECISION
    u16Record(wb, 0x01B7, 0); // REFRESHALL
    u16Record(wb, 0x00DA, 0); // BOOKBOOL
    // Font 4 is never referenced in the format: five records give 0-3 and 5.
    for (int i = 0; i < 4; ++i)
        font(wb, false);
    font(wb, true); // index 5: titles
    format(wb, 164, QStringLiteral("dd/mm/yyyy"));
    format(wb, 165, QStringLiteral("dd/mm/yyyy hh:mm:ss"));
    xf(wb, 0, 0, true, 0x00);
    for (int i = 1; i < 15; ++i)
        xf(wb, i < 3 ? 1 : i < 5 ? 2 : 0, 0, true, 0xF4);
    xf(wb, 0, 0, false, 0x00);   // 15: default cell
    xf(wb, 5, 0, false, 0x08);   // 16: titles (bold font)
    xf(wb, 0, 164, false, 0x04); // 17: dates
    xf(wb, 0, 165, false, 0x04); // 18: dates with time
    {
        Bytes b; // STYLE "Normal"
        b.u16(0x8000);
        b.u8(0);
        b.u8(0xFF);
        wb.record(0x0293, b);
    }
    u16Record(wb, 0x0160, 0); // USESELFS
    for (int i = 0; i < sheets; ++i) {
        Bytes b; // BOUNDSHEET; its offset is filled in when the sheet starts
        sheetOffsetAt << wb.position() + 4;
        b.u32(0);
        b.u8(0);
        b.u8(0);
        putString8(b, QStringLiteral("Hoja%1").arg(i + 1));
        wb.record(0x0085, b);
    }
    {
        Bytes b; // COUNTRY
        b.u16(1);
        b.u16(1);
        wb.record(0x008C, b);
    }
    if (!sst.isEmpty())
        sst.write(wb);
    wb.record(0x000A, QByteArray()); // EOF
}

// Long texts are numbered in the shared strings in row order, the order
// the sheets are written in; `shared` counts those written so far.
void writeSheet(Workbook& wb, const ExportSource& source, int firstRow, int rows, bool first,
                quint32& shared) {
    bof(wb, 0x0010);
    const int columns = std::min(source.columnCount(), kMaxColumns);
    u16Record(wb, 0x000D, 1);   // CALCMODE
    u16Record(wb, 0x000C, 100); // CALCCOUNT
    u16Record(wb, 0x000F, 1);   // REFMODE
    u16Record(wb, 0x0011, 0);   // ITERATION
    {
        Bytes b; // DELTA
        b.f64(0.001);
        wb.record(0x0010, b);
    }
    u16Record(wb, 0x005F, 1); // SAVERECALC
    u16Record(wb, 0x002A, 0); // PRINTHEADERS
    u16Record(wb, 0x002B, 0); // PRINTGRIDLINES
    u16Record(wb, 0x0082, 1); // GRIDSET
    {
        Bytes b; // GUTS
        b.zeros(8);
        wb.record(0x0080, b);
    }
    {
        Bytes b; // DEFAULTROWHEIGHT
        b.u16(0);
        b.u16(0x00FF);
        wb.record(0x0225, b);
    }
    u16Record(wb, 0x0081, 0x04C1); // WSBOOL
    for (int c = 0; c < columns; ++c) {
        const int pixels = source.width(c);
        if (pixels <= 0)
            continue;
        Bytes b; // COLINFO: width in 1/256 of a character
        b.u16(c);
        b.u16(c);
        b.u16(std::clamp(pixels * 256 / 7, 256, 255 * 256));
        b.u16(kXfDefault);
        b.u16(0);
        b.u16(0);
        wb.record(0x007D, b);
    }
    {
        Bytes b; // DIMENSIONS
        b.u32(0);
        b.u32(quint32(rows + 1));
        b.u16(0);
        b.u16(columns);
        b.u16(0);
        wb.record(0x0200, b);
    }
    Bytes cell;
    auto label = [&](int row, int col, int xfIndex, const QString& text) {
        cell.data.clear();
        cell.u16(row);
        cell.u16(col);
        cell.u16(xfIndex);
        putString16(cell, text.left(kMaxLabel));
        wb.record(0x0204, cell);
    };
    for (int c = 0; c < columns; ++c)
        label(0, c, kXfTitle, source.title(c));
    for (int r = 0; r < rows; ++r) {
        const int sourceRow = firstRow + r;
        for (int c = 0; c < columns; ++c) {
            const ExportSource::Value v = source.value(sourceRow, c);
            switch (v.type) {
            case ExportSource::Type::Empty:
                break;
            case ExportSource::Type::Number:
            case ExportSource::Type::Date:
            case ExportSource::Type::DateTime:
                cell.data.clear();
                cell.u16(r + 1);
                cell.u16(c);
                cell.u16(v.type == ExportSource::Type::Number ? kXfDefault
                         : v.type == ExportSource::Type::Date ? kXfDate
                                                              : kXfDateTime);
                cell.f64(v.number);
                wb.record(0x0203, cell);
                break;
            case ExportSource::Type::Text:
                if (v.text.size() > kMaxLabel) {
                    cell.data.clear(); // LABELSST
                    cell.u16(r + 1);
                    cell.u16(c);
                    cell.u16(kXfDefault);
                    cell.u32(shared++);
                    wb.record(0x00FD, cell);
                } else if (!v.text.isEmpty()) {
                    label(r + 1, c, kXfDefault, v.text);
                }
                break;
            }
        }
    }
    {
        Bytes b; // WINDOW2
        b.u16(first ? 0x06B6 : 0x00B6);
        b.u16(0);
        b.u16(0);
        b.u16(0x40);
        b.u16(0);
        b.u16(0);
        b.u16(0);
        b.u32(0);
        wb.record(0x023E, b);
    }
    wb.record(0x000A, QByteArray()); // EOF
}

// The compound file around one stream "Workbook" that starts at sector 0.
// Sectors of 512 bytes; the stream is contiguous, then the directory, the
// allocation table and, for large files, its extension (DIFAT) sectors.
void finishCompoundFile(Sink& sink, QIODevice& out, qint64 streamSize,
                        const QList<QPair<qint64, quint32>>& patches) {
    constexpr quint32 kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFat = 0xFFFFFFFD, kDifat = 0xFFFFFFFC;
    const qint64 padded = std::max<qint64>(streamSize, 4096); // no mini stream
    const qint64 streamSectors = (padded + 511) / 512;
    sink.put(QByteArray(int(streamSectors * 512 - streamSize), '\0'));
    qint64 fatSectors = 1, difatSectors = 0;
    for (;;) {
        const qint64 total = streamSectors + 1 + fatSectors + difatSectors;
        const qint64 needFat = (total + 127) / 128;
        const qint64 needDifat = needFat > 109 ? (needFat - 109 + 126) / 127 : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 dirSector = quint32(streamSectors);
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + quint32(fatSectors);

    // Directory: root entry, the stream, two unused entries.
    Bytes dir;
    auto entry = [&](const QString& name, int type, quint32 child, quint32 start, quint32 size) {
        Bytes e;
        for (QChar c : name)
            e.u16(c.unicode());
        e.u16(0);
        e.zeros(64 - e.data.size());
        e.u16(name.isEmpty() ? 0 : int(name.size() + 1) * 2);
        e.u8(type);
        e.u8(1); // black
        e.u32(kFree);
        e.u32(kFree);
        e.u32(child);
        e.zeros(16 + 4 + 8 + 8); // class id, state bits, times
        e.u32(start);
        e.u32(size);
        e.u32(0);
        dir.raw(e.data);
    };
    entry(QStringLiteral("Root Entry"), 5, 1, kEnd, 0);
    entry(QStringLiteral("Workbook"), 2, kFree, 0, quint32(padded));
    entry(QString(), 0, kFree, kFree, 0);
    entry(QString(), 0, kFree, kFree, 0);
    sink.put(dir.data);

    // Allocation table.
    const qint64 entries = fatSectors * 128;
    Bytes fat;
    fat.data.reserve(int(entries * 4));
    for (qint64 i = 0; i < entries; ++i) {
        quint32 v = kFree;
        if (i < streamSectors)
            v = i + 1 < streamSectors ? quint32(i + 1) : kEnd;
        else if (i == dirSector)
            v = kEnd;
        else if (i >= firstFat && i < firstDifat)
            v = kFat;
        else if (i >= firstDifat && i < firstDifat + difatSectors)
            v = kDifat;
        fat.u32(v);
        if (fat.data.size() >= (1 << 20)) {
            sink.put(fat.data);
            fat.data.clear();
        }
    }
    sink.put(fat.data);

    // Extension of the table's sector list beyond the 109 in the header.
    for (qint64 d = 0; d < difatSectors; ++d) {
        Bytes b;
        for (int k = 0; k < 127; ++k) {
            const qint64 fatIndex = 109 + d * 127 + k;
            b.u32(fatIndex < fatSectors ? firstFat + quint32(fatIndex) : kFree);
        }
        b.u32(d + 1 < difatSectors ? firstDifat + quint32(d + 1) : kEnd);
        sink.put(b.data);
    }
    sink.flush();

    Bytes header;
    header.raw(QByteArray::fromHex("D0CF11E0A1B11AE1"));
    header.zeros(16);
    header.u16(0x003E);
    header.u16(0x0003);
    header.u16(0xFFFE);
    header.u16(9);
    header.u16(6);
    header.zeros(6);
    header.u32(0);
    header.u32(quint32(fatSectors));
    header.u32(dirSector);
    header.u32(0);
    header.u32(4096);
    header.u32(kEnd);
    header.u32(0);
    header.u32(difatSectors > 0 ? firstDifat : kEnd);
    header.u32(quint32(difatSectors));
    for (int i = 0; i < 109; ++i)
        header.u32(i < fatSectors ? firstFat + quint32(i) : kFree);
    auto writeAt = [&](qint64 at, const QByteArray& bytes) {
        if (!out.seek(at) || out.write(bytes) != bytes.size())
            throw FileError(QStringLiteral("Cannot write file. %1").arg(out.errorString()));
    };
    writeAt(0, header.data);
    for (const auto& [offset, value] : patches) {
        Bytes b;
        b.u32(value);
        writeAt(Workbook::kHeaderSize + offset, b.data);
    }
}

} // namespace

void writeXls(const ExportSource& source, QIODevice& out) {
    const int columns = std::min(source.columnCount(), kMaxColumns);
    const int rows = source.rowCount();
    const int perSheet = kMaxRowsPerSheet - 1; // the title row takes one
    const int sheets = std::max(1, (rows + perSheet - 1) / perSheet);

    // Texts too long for a text cell go to the shared strings, which come
    // before the sheets: one pass over the columns that may hold them.
    QList<int> longColumns;
    for (int c = 0; c < columns; ++c)
        if (source.maxTextLength(c) < 0 || source.maxTextLength(c) > kMaxLabel)
            longColumns << c;
    SharedStrings sst;
    if (!longColumns.isEmpty())
        for (int r = 0; r < rows; ++r)
            for (int c : longColumns) {
                const ExportSource::Value v = source.value(r, c);
                if (v.type == ExportSource::Type::Text && v.text.size() > kMaxLabel)
                    sst.add(v.text.left(kMaxCellText));
            }

    Sink sink(out);
    sink.put(QByteArray(Workbook::kHeaderSize, '\0')); // header, written last
    Workbook wb(sink);
    QList<qint64> offsetAt;
    writeGlobals(wb, sheets, sst, offsetAt);
    QList<QPair<qint64, quint32>> patches;
    quint32 shared = 0;
    for (int s = 0; s < sheets; ++s) {
        patches.append({offsetAt[s], quint32(wb.position())});
        const int first = s * perSheet;
        writeSheet(wb, source, first, std::max(0, std::min(perSheet, rows - first)), s == 0,
                   shared);
    }
    const qint64 streamSize = wb.position();
    finishCompoundFile(sink, out, streamSize, patches);
}

// ---------------------------------------------------------------- files

void exportToFile(ExportKind kind, const ExportSource& source, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        throw FileError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    switch (kind) {
    case ExportKind::Text:
        writeText(source, file);
        break;
    case ExportKind::Csv:
        writeCsv(source, file);
        break;
    case ExportKind::Html:
        writeHtml(source, file);
        break;
    case ExportKind::Rtf:
        writeRtf(source, file);
        break;
    case ExportKind::Xls:
        writeXls(source, file);
        break;
    }
    if (!file.flush())
        throw FileError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace platform
