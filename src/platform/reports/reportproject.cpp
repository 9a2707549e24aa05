#include "platform/reports/reportproject.h"

#include "platform/data/dataset.h"
#include "platform/reports/reportsystem.h"
#include "platform/ui/dialogs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace platform {

DataConnection::DataConnection(const QString& name, DataSet* dataSet, QObject* parent)
    : QObject(parent)
    , dataSet_(dataSet) {
    setObjectName(name);
}

// ------------------------------------------------------------- generation

namespace {

QStringList wrapText(const QString& text, int width) {
    QStringList lines;
    for (QString rest : text.split(QLatin1Char('\n'))) {
        rest = rest.trimmed();
        while (width > 0 && rest.size() > width) {
            qsizetype cut = rest.lastIndexOf(QLatin1Char(' '), width);
            if (cut <= 0)
                cut = width;
            lines << rest.left(cut).trimmed();
            rest = rest.mid(cut).trimmed();
        }
        lines << rest;
    }
    return lines;
}

class Generator {
public:
    Generator(const ReportLayout& layout, const DataSet& data, const ReportContext& context,
              const std::function<void(int)>& progress)
        : layout_(layout)
        , data_(data)
        , context_(context)
        , progress_(progress) {
        document_.title = layout.description.isEmpty() ? layout.name : layout.description;
        document_.layout = layout.page;
        left_ = layout.marginLeft;
        right_ = document_.pageColumns() - layout.marginRight;
        top_ = layout.marginTop;
        bottom_ = document_.pageLines() - layout.marginBottom;
        footerTop_ = layout.footer.isEmpty() ? bottom_ : bottom_ - int(layout.footer.size());
        bodyBottom_ = layout.footer.isEmpty() ? bottom_ : footerTop_ - 1;
        int x = left_;
        for (const ReportColumn& column : layout.columns) {
            columnField_ << fieldOf(column.field, layout.name);
            columnX_ << x;
            x += column.width + 1;
        }
        for (const ReportGroup& group : layout.groups)
            groupField_ << fieldOf(group.field, layout.name);
        groupCount_.fill(0, layout.groups.size());
    }

    ReportDocument run() {
        const int rows = data_.isOpen() ? data_.rowCount() : 0;
        const int levels = int(layout_.groups.size());
        row_ = rows > 0 ? 0 : -1;
        newPage(false);
        for (int r = 0; r < rows; ++r) {
            int changed = 0;
            if (r > 0) {
                changed = levels;
                for (int g = 0; g < levels; ++g)
                    if (key(r, g) != key(r - 1, g)) {
                        changed = g;
                        break;
                    }
                for (int g = levels - 1; g >= changed; --g)
                    closeGroup(g, r - 1);
            }
            row_ = r;
            const int height = detailHeight(r);
            for (int g = changed; g < levels; ++g)
                openGroup(g, g == changed, height);
            detail(r, height);
            for (int& count : groupCount_)
                ++count;
            ++total_;
        }
        if (rows > 0)
            for (int g = levels - 1; g >= 0; --g)
                closeGroup(g, rows - 1);
        summary(rows - 1);
        pageFooters();
        return document_;
    }

private:
    int fieldOf(const QString& name, const QString& report) const {
        const int index = data_.fieldIndex(name);
        if (index < 0)
            throw ReportError(
                QStringLiteral("El reporte \"%1\" usa el campo \"%2\", que sus datos no tienen")
                    .arg(report, name));
        return index;
    }

    QString key(int row, int group) const { return data_.textAt(row, groupField_[group]); }

    // {Param.Name}: a parameter; {Reporte.Fecha}, {Reporte.Hora}, {Reporte.Pagina},
    // {Reporte.Paginas}, {Reporte.Registros}: the run's; anything else: a field.
    QString value(const QString& name, const QMap<QString, QString>& extra) const {
        const QString lower = name.toLower();
        if (lower.startsWith(QLatin1String("param.")))
            return context_.params.value(lower.mid(6));
        if (lower.startsWith(QLatin1String("reporte."))) {
            const QString what = lower.mid(8);
            if (what == QLatin1String("fecha"))
                return context_.now.date().toString(context_.dateFormat);
            if (what == QLatin1String("hora"))
                return context_.now.time().toString(context_.timeFormat);
            return extra.value(what);
        }
        if (row_ >= 0) {
            const int field = data_.fieldIndex(name);
            if (field >= 0)
                return data_.textAt(row_, field);
        }
        return QString();
    }

    QString expand(const QString& text, const QMap<QString, QString>& extra = {}) const {
        if (!text.contains(QLatin1Char('{')))
            return text;
        QString out;
        qsizetype from = 0;
        while (from < text.size()) {
            const qsizetype open = text.indexOf(QLatin1Char('{'), from);
            const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
            if (close < 0) {
                out += text.mid(from);
                break;
            }
            out += text.mid(from, open - from);
            out += value(text.mid(open + 1, close - open - 1), extra);
            from = close + 1;
        }
        return out;
    }

    ReportPage& page() { return document_.pages[currentPage_]; }

    void addText(ItemStyle style, Qt::Alignment align, int column, int line, int width, int height,
                 const QString& text) {
        PageItem item;
        item.style = style;
        item.align = align;
        item.column = column;
        item.line = line;
        item.width = width;
        item.height = height;
        item.text = text;
        page().items.append(item);
    }

    void addRule(int line) {
        PageItem item;
        item.kind = PageItem::Kind::Rule;
        item.column = left_;
        item.line = line;
        item.width = right_ - left_;
        page().items.append(item);
    }

    void line(const ReportLine& band, int at, const QMap<QString, QString>& extra = {}) {
        const int height = band.style == ItemStyle::Title ? 2 : 1;
        const int width = right_ - left_;
        if (!band.left.isEmpty())
            addText(band.style, Qt::AlignLeft, left_, at, width, height, expand(band.left, extra));
        if (!band.center.isEmpty())
            addText(band.style, Qt::AlignHCenter, left_, at, width, height,
                    expand(band.center, extra));
        if (!band.right.isEmpty())
            addText(band.style, Qt::AlignRight, left_, at, width, height,
                    expand(band.right, extra));
        y_ = at + height;
    }

    void lines(const QList<ReportLine>& bands, const QMap<QString, QString>& extra = {}) {
        for (const ReportLine& band : bands)
            line(band, y_, extra);
    }

    static int height(const QList<ReportLine>& bands) {
        int total = 0;
        for (const ReportLine& band : bands)
            total += band.style == ItemStyle::Title ? 2 : 1;
        return total;
    }

    void newPage(bool continuing) {
        document_.pages.append(ReportPage());
        currentPage_ = int(document_.pages.size()) - 1;
        if (progress_)
            progress_(int(document_.pages.size()));
        y_ = top_;
        lines(layout_.header);
        if (!layout_.columns.isEmpty()) {
            addRule(y_++);
            for (int c = 0; c < layout_.columns.size(); ++c) {
                const ReportColumn& column = layout_.columns[c];
                addText(ItemStyle::Heading, column.align, columnX_[c], y_, column.width, 1,
                        column.title);
            }
            ++y_;
            addRule(y_++);
        }
        bodyTop_ = y_;
        // The groups still open carry on under their headers.
        if (continuing)
            for (int g = 0; g < openGroups_; ++g)
                lines(layout_.groups[g].header);
    }

    void ensureSpace(int needed) {
        if (y_ + needed > bodyBottom_ && y_ > bodyTop_)
            newPage(true);
    }

    int detailHeight(int row) const {
        int height = 1;
        for (int c = 0; c < layout_.columns.size(); ++c)
            if (layout_.columns[c].wrap)
                height =
                    qMax(height,
                         int(wrapText(data_.textAt(row, columnField_[c]), layout_.columns[c].width)
                                 .size()));
        return height;
    }

    void openGroup(int group, bool spaced, int detail) {
        int needed = detail;
        for (int g = group; g < layout_.groups.size(); ++g)
            needed += height(layout_.groups[g].header);
        const int blank = spaced && y_ > bodyTop_ ? 1 : 0;
        openGroups_ = group;
        if (y_ + blank + needed > bodyBottom_ && y_ > bodyTop_)
            newPage(true);
        else
            y_ += blank;
        groupCount_[group] = 0;
        lines(layout_.groups[group].header);
        openGroups_ = group + 1;
    }

    void closeGroup(int group, int lastRow) {
        const QList<ReportLine>& footer = layout_.groups[group].footer;
        if (!footer.isEmpty()) {
            row_ = lastRow;
            ensureSpace(height(footer));
            lines(footer, {{QStringLiteral("registros"), QString::number(groupCount_[group])}});
        }
        openGroups_ = group;
    }

    void detail(int row, int height) {
        ensureSpace(height);
        for (int c = 0; c < layout_.columns.size(); ++c) {
            const ReportColumn& column = layout_.columns[c];
            const QString text = data_.textAt(row, columnField_[c]);
            if (!column.wrap) {
                addText(ItemStyle::Detail, column.align, columnX_[c], y_, column.width, 1,
                        QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
                continue;
            }
            const QStringList wrapped = wrapText(text, column.width);
            for (int l = 0; l < wrapped.size(); ++l)
                addText(ItemStyle::Detail, column.align, columnX_[c], y_ + l, column.width, 1,
                        wrapped[l]);
        }
        y_ += height;
    }

    void summary(int lastRow) {
        if (layout_.summary.isEmpty())
            return;
        row_ = lastRow;
        const int needed = height(layout_.summary) + 1;
        ensureSpace(needed);
        if (y_ > bodyTop_)
            ++y_;
        lines(layout_.summary, {{QStringLiteral("registros"), QString::number(total_)}});
    }

    void pageFooters() {
        const QString count = QString::number(document_.pages.size());
        row_ = -1;
        for (int p = 0; p < document_.pages.size(); ++p) {
            currentPage_ = p;
            if (layout_.footer.isEmpty())
                continue;
            addRule(footerTop_ - 1);
            y_ = footerTop_;
            lines(layout_.footer, {{QStringLiteral("pagina"), QString::number(p + 1)},
                                   {QStringLiteral("paginas"), count}});
        }
    }

    const ReportLayout& layout_;
    const DataSet& data_;
    const ReportContext& context_;
    const std::function<void(int)>& progress_;
    ReportDocument document_;
    int left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
    int footerTop_ = 0, bodyTop_ = 0, bodyBottom_ = 0;
    int y_ = 0;
    int row_ = -1;
    int openGroups_ = 0;
    int total_ = 0;
    int currentPage_ = 0;
    QList<int> columnField_, columnX_, groupField_, groupCount_;
};

} // namespace

ReportDocument generateReport(const ReportLayout& layout, const DataSet& data,
                              const ReportContext& context,
                              const std::function<void(int page)>& progress) {
    return Generator(layout, data, context, progress).run();
}

// ------------------------------------------------------------- project file

namespace {

struct Invalid {
    QString reason;
};

ItemStyle styleNamed(const QString& name, ItemStyle fallback) {
    static const QMap<QString, ItemStyle> styles{{QStringLiteral("title"), ItemStyle::Title},
                                                 {QStringLiteral("subtitle"), ItemStyle::Subtitle},
                                                 {QStringLiteral("info"), ItemStyle::Info},
                                                 {QStringLiteral("heading"), ItemStyle::Heading},
                                                 {QStringLiteral("group"), ItemStyle::Group},
                                                 {QStringLiteral("detail"), ItemStyle::Detail},
                                                 {QStringLiteral("summary"), ItemStyle::Summary},
                                                 {QStringLiteral("footer"), ItemStyle::Footer}};
    if (name.isEmpty())
        return fallback;
    if (!styles.contains(name))
        throw Invalid{QStringLiteral("estilo desconocido \"%1\"").arg(name)};
    return styles.value(name);
}

QList<ReportLine> linesOf(const QJsonValue& value, ItemStyle fallback) {
    QList<ReportLine> lines;
    for (const QJsonValue& entry : value.toArray()) {
        ReportLine line;
        line.style = fallback;
        if (entry.isString()) {
            line.left = entry.toString();
        } else {
            const QJsonObject object = entry.toObject();
            line.left = object.value(QLatin1String("left")).toString();
            line.center = object.value(QLatin1String("center")).toString();
            line.right = object.value(QLatin1String("right")).toString();
            line.style = styleNamed(object.value(QLatin1String("style")).toString(), fallback);
        }
        lines << line;
    }
    return lines;
}

Qt::Alignment alignNamed(const QString& name) {
    if (name == QLatin1String("right"))
        return Qt::AlignRight;
    if (name == QLatin1String("center"))
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

QPageLayout pageOf(const QJsonObject& page) {
    static const QMap<QString, QPageSize::PageSizeId> sizes{
        {QStringLiteral("letter"), QPageSize::Letter},
        {QStringLiteral("legal"), QPageSize::Legal},
        {QStringLiteral("a4"), QPageSize::A4}};
    const QString size = page.value(QLatin1String("size")).toString(QStringLiteral("letter"));
    if (!sizes.contains(size.toLower()))
        throw Invalid{QStringLiteral("tamaño de página desconocido \"%1\"").arg(size)};
    const bool landscape =
        page.value(QLatin1String("orientation")).toString() == QLatin1String("landscape");
    return QPageLayout(QPageSize(sizes.value(size.toLower())),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

ReportLayout layoutOf(const QJsonObject& object) {
    ReportLayout layout;
    layout.name = object.value(QLatin1String("name")).toString();
    if (layout.name.isEmpty())
        throw Invalid{QStringLiteral("un reporte no tiene nombre")};
    layout.description = object.value(QLatin1String("description")).toString();
    layout.connection = object.value(QLatin1String("connection")).toString();
    const QJsonObject page = object.value(QLatin1String("page")).toObject();
    layout.page = pageOf(page);
    const QJsonArray margins = page.value(QLatin1String("margins")).toArray();
    if (margins.size() == 4) {
        layout.marginLeft = margins[0].toInt();
        layout.marginTop = margins[1].toInt();
        layout.marginRight = margins[2].toInt();
        layout.marginBottom = margins[3].toInt();
    }
    layout.header = linesOf(object.value(QLatin1String("header")), ItemStyle::Info);
    for (const QJsonValue& entry : object.value(QLatin1String("columns")).toArray()) {
        const QJsonObject c = entry.toObject();
        ReportColumn column;
        column.field = c.value(QLatin1String("field")).toString();
        column.title = c.value(QLatin1String("title")).toString(column.field);
        column.width = c.value(QLatin1String("width")).toInt(10);
        column.align = alignNamed(c.value(QLatin1String("align")).toString());
        column.wrap = c.value(QLatin1String("wrap")).toBool();
        if (column.field.isEmpty() || column.width <= 0)
            throw Invalid{
                QStringLiteral("columna sin campo o sin ancho en \"%1\"").arg(layout.name)};
        layout.columns << column;
    }
    for (const QJsonValue& entry : object.value(QLatin1String("groups")).toArray()) {
        const QJsonObject g = entry.toObject();
        ReportGroup group;
        group.field = g.value(QLatin1String("field")).toString();
        group.header = linesOf(g.value(QLatin1String("header")), ItemStyle::Group);
        group.footer = linesOf(g.value(QLatin1String("footer")), ItemStyle::Summary);
        if (group.field.isEmpty())
            throw Invalid{QStringLiteral("grupo sin campo en \"%1\"").arg(layout.name)};
        layout.groups << group;
    }
    layout.summary = linesOf(object.value(QLatin1String("summary")), ItemStyle::Summary);
    layout.footer = linesOf(object.value(QLatin1String("footer")), ItemStyle::Footer);
    return layout;
}

} // namespace

QList<ReportLayout> readProjectFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists())
        throw ReportError(
            QStringLiteral("No se encontró el archivo de reportes \"%1\"").arg(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("No se pudo leer el archivo de reportes \"%1\": %2")
                              .arg(fileName, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parseError);
    const auto invalid = [&fileName](const QString& reason) {
        return ReportError(
            QStringLiteral("El archivo de reportes \"%1\" no es válido: %2").arg(fileName, reason));
    };
    if (parseError.error != QJsonParseError::NoError)
        throw invalid(parseError.errorString());
    QList<ReportLayout> layouts;
    try {
        for (const QJsonValue& entry : json.object().value(QLatin1String("reports")).toArray())
            layouts << layoutOf(entry.toObject());
    } catch (const Invalid& error) {
        throw invalid(error.reason);
    }
    if (layouts.isEmpty())
        throw invalid(QStringLiteral("no tiene reportes"));
    return layouts;
}

// ------------------------------------------------------------- project

ReportProject::ReportProject(QObject* parent, const QString& name)
    : QObject(parent) {
    setObjectName(name);
}

QString ReportProject::projectPath(const QString& folder, const QString& designName) {
    return QDir(folder).filePath(QString(designName).replace(QLatin1Char('\\'), QLatin1Char('/')));
}

void ReportProject::open() {
    reports_ = readProjectFile(projectFile);
    selected_ = -1;
    open_ = true;
}

void ReportProject::close() {
    open_ = false;
    reports_.clear();
    selected_ = -1;
}

QStringList ReportProject::reportNames() const {
    QStringList names;
    for (const ReportLayout& layout : reports_)
        names << layout.name;
    return names;
}

void ReportProject::selectReport(const QString& name) {
    const int found = int(reportNames().indexOf(name));
    if (found < 0)
        throw ReportError(QStringLiteral("El archivo de reportes \"%1\" no tiene el reporte \"%2\"")
                              .arg(projectFile, name));
    selected_ = found;
}

const ReportLayout* ReportProject::selectedReport() const {
    return selected_ >= 0 ? &reports_[selected_] : nullptr;
}

void ReportProject::setParam(const QString& name, const QString& value) {
    params_.insert(name.toLower(), value);
}

QString ReportProject::param(const QString& name) const {
    return params_.value(name.toLower());
}

ReportDocument ReportProject::generate(const std::function<void(int page)>& progress) const {
    const ReportLayout* layout = selectedReport();
    if (!layout)
        throw ReportError(QStringLiteral("No se ha escogido el reporte a imprimir."));
    const DataConnection* connection =
        parent() ? parent()->findChild<DataConnection*>(layout->connection) : nullptr;
    if (!connection || !connection->dataSet())
        throw ReportError(QStringLiteral("No existe la conexión de datos \"%1\" del reporte \"%2\"")
                              .arg(layout->connection, layout->name));
    Dialogs& dialogs = Dialogs::instance();
    ReportContext context;
    context.params = params_;
    context.now = dialogs.now();
    context.dateFormat = dialogs.shortDateFormat();
    context.timeFormat = dialogs.longTimeFormat();
    return generateReport(*layout, *connection->dataSet(), context, progress);
}

void ReportProject::execute() {
    if (!engine)
        throw ReportError(QStringLiteral("El proyecto de reportes no tiene sistema de reportes."));
    engine->execute(
        [this](const std::function<void(int)>& progress) { return generate(progress); });
}

} // namespace platform
