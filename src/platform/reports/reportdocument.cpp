#include "platform/reports/reportdocument.h"

#include <QDataStream>
#include <QFile>
#include <QRectF>
#include <QSaveFile>
#include <cmath>

namespace platform {

namespace {
constexpr quint32 kMagic = 0x4E445231; // "NDR1"
constexpr quint16 kVersion = 1;

QString cannotWrite(const QString& fileName, const QString& reason) {
    return QStringLiteral("No se pudo escribir el archivo \"%1\": %2").arg(fileName, reason);
}
} // namespace

int ReportDocument::pageColumns() const {
    return int(std::lround(layout.fullRect(QPageLayout::Inch).width() * kCellsPerInchX));
}

int ReportDocument::pageLines() const {
    return int(std::lround(layout.fullRect(QPageLayout::Inch).height() * kCellsPerInchY));
}

void saveSnapshot(const ReportDocument& document, const QString& fileName) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(cannotWrite(fileName, file.errorString()));
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    const QPageSize size = document.layout.pageSize();
    out << kMagic << kVersion << document.title << qint32(size.id()) << size.size(QPageSize::Point)
        << qint32(document.layout.orientation()) << qint32(document.pages.size());
    for (const ReportPage& page : document.pages) {
        out << qint32(page.items.size());
        for (const PageItem& item : page.items)
            out << quint8(item.kind) << quint8(item.style) << quint32(item.align)
                << qint32(item.column) << qint32(item.line) << qint32(item.width)
                << qint32(item.height) << item.text;
    }
    if (!file.commit())
        throw ReportError(cannotWrite(fileName, file.errorString()));
}

ReportDocument loadSnapshot(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("No se encontró el archivo \"%1\"").arg(fileName));
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint16 version = 0;
    in >> magic >> version;
    if (magic != kMagic || version != kVersion)
        throw ReportError(
            QStringLiteral("El archivo \"%1\" no es una página de reporte guardada").arg(fileName));
    ReportDocument document;
    qint32 sizeId = 0, orientation = 0, pages = 0;
    QSizeF points;
    in >> document.title >> sizeId >> points >> orientation >> pages;
    const auto id = QPageSize::PageSizeId(sizeId);
    document.layout =
        QPageLayout(id == QPageSize::Custom ? QPageSize(points, QPageSize::Point) : QPageSize(id),
                    QPageLayout::Orientation(orientation), QMarginsF());
    for (qint32 p = 0; p < pages && in.status() == QDataStream::Ok; ++p) {
        ReportPage page;
        qint32 items = 0;
        in >> items;
        for (qint32 i = 0; i < items && in.status() == QDataStream::Ok; ++i) {
            PageItem item;
            quint8 kind = 0, style = 0;
            quint32 align = 0;
            qint32 column = 0, line = 0, width = 0, height = 0;
            in >> kind >> style >> align >> column >> line >> width >> height >> item.text;
            item.kind = PageItem::Kind(kind);
            item.style = ItemStyle(style);
            item.align = Qt::Alignment(align);
            item.column = column;
            item.line = line;
            item.width = width;
            item.height = height;
            page.items << item;
        }
        document.pages << page;
    }
    if (in.status() != QDataStream::Ok)
        throw ReportError(QStringLiteral("El archivo \"%1\" está dañado").arg(fileName));
    return document;
}

} // namespace platform
