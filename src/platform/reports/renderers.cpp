#include "platform/reports/renderers.h"

#include "platform/ansi.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>

namespace platform {

namespace {

QList<Renderer*>& registry() {
    static QList<Renderer*> list;
    return list;
}

// Fonts of the painter: a sans serif family whose letters stay inside the
// 1/10 inch cells the columns are measured in.
QFont fontFor(ItemStyle style) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    switch (style) {
    case ItemStyle::Title:
        font.setPointSizeF(14);
        font.setBold(true);
        break;
    case ItemStyle::Subtitle:
        font.setPointSizeF(10);
        font.setBold(true);
        break;
    case ItemStyle::Heading:
    case ItemStyle::Group:
    case ItemStyle::Summary:
        font.setPointSizeF(9);
        font.setBold(true);
        break;
    case ItemStyle::Info:
    case ItemStyle::Footer:
        font.setPointSizeF(8);
        break;
    case ItemStyle::Detail:
        font.setPointSizeF(9);
        break;
    }
    return font;
}

void writeFile(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ReportError(QStringLiteral("No se pudo escribir el archivo \"%1\"").arg(fileName));
}

// Where `text` starts in a field of `width` characters, and what of it fits.
QPair<int, QString> aligned(const QString& text, int width, Qt::Alignment align) {
    if (width <= 0)
        return {0, text};
    if (text.size() >= width)
        return {0, text.left(width)};
    if (align & Qt::AlignRight)
        return {int(width - text.size()), text};
    if (align & Qt::AlignHCenter)
        return {int(width - text.size()) / 2, text};
    return {0, text};
}

} // namespace

// ------------------------------------------------------------- Renderer

Renderer::Renderer(const QString& name, const QString& displayName, const QString& fileExtension,
                   QObject* parent)
    : QObject(parent)
    , displayName(displayName)
    , fileExtension(fileExtension) {
    setObjectName(name);
    registry().append(this);
}

Renderer::~Renderer() {
    registry().removeAll(this);
}

QList<Renderer*> Renderer::registered() {
    return registry();
}

// ------------------------------------------------------------- painting

void paintPage(QPainter& painter, const ReportPage& page, double dpiX, double dpiY) {
    const double cellX = dpiX / kCellsPerInchX;
    const double cellY = dpiY / kCellsPerInchY;
    const QPen rule(Qt::black, dpiY / 120.0); // 0.6 pt
    int currentStyle = -1;
    for (const PageItem& item : page.items) {
        const QRectF rect(item.column * cellX, item.line * cellY, item.width * cellX,
                          item.height * cellY);
        if (item.kind == PageItem::Kind::Rule) {
            painter.setPen(rule);
            const double y = rect.top() + cellY / 2;
            painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
            continue;
        }
        if (item.style == ItemStyle::Heading)
            painter.fillRect(rect.adjusted(-cellX / 2, 0, cellX / 2, 0), QColor(225, 225, 225));
        if (int(item.style) != currentStyle) {
            painter.setFont(fontFor(item.style));
            painter.setPen(Qt::black);
            currentStyle = int(item.style);
        }
        painter.drawText(rect, int(item.align | Qt::AlignVCenter), item.text);
    }
}

void paintDocument(QPainter& painter, QPagedPaintDevice& device, const ReportDocument& document,
                   int from, int to, const std::function<void(int)>& progress) {
    if (to < 0 || to >= document.pages.size())
        to = int(document.pages.size()) - 1;
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    for (int p = from; p <= to; ++p) {
        if (p > from)
            device.newPage();
        if (progress)
            progress(p + 1);
        paintPage(painter, document.pages[p], dpiX, dpiY);
    }
}

// ------------------------------------------------------------- PDF

PdfRenderer::PdfRenderer(QObject* parent, const QString& name)
    : Renderer(name, QStringLiteral("Adobe Acrobat (PDF)"), QStringLiteral("*.pdf"), parent) {}

void PdfRenderer::render(const ReportDocument& document, const QString& fileName) {
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly))
            throw ReportError(QStringLiteral("No se pudo escribir el archivo \"%1\": %2")
                                  .arg(fileName, probe.errorString()));
    }
    QPdfWriter writer(fileName);
    writer.setResolution(metafileDpi);
    writer.setTitle(document.title);
    writer.setCreator(QCoreApplication::applicationName());
    QPageLayout layout = document.layout;
    layout.setMargins(QMarginsF());
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(QStringLiteral("No se pudo escribir el archivo \"%1\"").arg(fileName));
    paintDocument(painter, writer, document);
    painter.end();
}

// ------------------------------------------------------------- text

TextRenderer::TextRenderer(QObject* parent, const QString& name)
    : Renderer(name, QStringLiteral("Texto plano (TXT)"), QStringLiteral("*.txt"), parent) {}

QString TextRenderer::text(const ReportDocument& document) const {
    const double sx = cpi / kCellsPerInchX;
    const double sy = lpi / kCellsPerInchY;
    QStringList pages;
    for (const ReportPage& page : document.pages) {
        QStringList lines;
        auto put = [&lines](int line, int column, const QString& text, bool onlyOnBlanks) {
            while (lines.size() <= line)
                lines.append(QString());
            QString& target = lines[line];
            if (target.size() < column + text.size())
                target = target.leftJustified(column + text.size());
            for (int i = 0; i < text.size(); ++i)
                if (!onlyOnBlanks || target[column + i] == QLatin1Char(' '))
                    target[column + i] = text[i];
        };
        for (const PageItem& item : page.items) {
            const int line = int(std::lround(item.line * sy));
            const int column = int(std::lround(item.column * sx));
            const int width = int(std::lround(item.width * sx));
            if (item.kind == PageItem::Kind::Rule)
                put(line, column, QString(width, QLatin1Char('-')), true);
            else {
                const auto [offset, fitting] = aligned(item.text, width, item.align);
                put(line, column + offset, fitting, false);
            }
        }
        for (QString& line : lines) {
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
            line += QLatin1String("\r\n");
        }
        pages << lines.join(QString());
    }
    return pages.join(QLatin1Char('\f'));
}

void TextRenderer::render(const ReportDocument& document, const QString& fileName) {
    writeFile(fileName, toAnsi(text(document)));
}

} // namespace platform
