#pragma once

#include "platform/reports/reportdocument.h"

#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QPageSize>
#include <functional>

namespace platform {

class DataSet;
class ReportSystem;

// A data connection of the report engine: the rows of a DataSet, read by
// the reports under the connection's name. Reports look it up among the
// children of the window that owns their project.
class DataConnection : public QObject {
    Q_OBJECT
public:
    DataConnection(const QString& name, DataSet* dataSet, QObject* parent);
    DataSet* dataSet() const { return dataSet_; }

private:
    DataSet* dataSet_;
};

// One line of a band: texts at the left, the centre and the right of the
// band. Texts may hold {FIELD} (a field of the current row), {Param.Name}
// (a parameter) and {Reporte.Fecha}, {Reporte.Hora}, {Reporte.Pagina},
// {Reporte.Paginas}, {Reporte.Registros} (rows of the group or report).
struct ReportLine {
    QString left, center, right;
    ItemStyle style = ItemStyle::Detail;
};

struct ReportColumn {
    QString field;
    QString title;
    int width = 10; // characters
    Qt::Alignment align = Qt::AlignLeft;
    bool wrap = false; // long texts continue on further lines
};

// A group band: a header when the field's value changes, a footer after
// the group's last row ({Registros}: rows of the group).
struct ReportGroup {
    QString field;
    QList<ReportLine> header;
    QList<ReportLine> footer;
};

// The layout of one report of a project file.
struct ReportLayout {
    QString name;
    QString description;
    QString connection;
    QPageLayout page{QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()};
    int marginLeft = 5, marginTop = 3, marginRight = 5, marginBottom = 3; // cells
    QList<ReportLine> header;                                             // top of every page
    QList<ReportColumn> columns; // the detail row, headings under the header
    QList<ReportGroup> groups;   // outermost first
    QList<ReportLine> summary;   // after the last row ({Registros}: all rows)
    QList<ReportLine> footer;    // bottom of every page
};

// What a report is generated with besides its rows.
struct ReportContext {
    QMap<QString, QString> params; // keys in lower case
    QDateTime now;
    QString dateFormat = QStringLiteral("dd/MM/yyyy");
    QString timeFormat = QStringLiteral("HH:mm");
};

// Lays the rows of a data set out in pages.
ReportDocument generateReport(const ReportLayout& layout, const DataSet& data,
                              const ReportContext& context,
                              const std::function<void(int page)>& progress = {});

// Reads the layouts of a project file (JSON, UTF-8). Throws ReportError.
QList<ReportLayout> readProjectFile(const QString& fileName);

// A report project: the project file, the report chosen by its short name,
// the parameters, and the report system that runs it.
class ReportProject : public QObject {
    Q_OBJECT
public:
    explicit ReportProject(QObject* parent, const QString& name = QStringLiteral("RvProject"));

    ReportSystem* engine = nullptr;
    QString projectFile;

    // The file of a project named as the report designer names it
    // ("reportes\\auditoria.rav"), relative to a folder.
    static QString projectPath(const QString& folder, const QString& designName);

    // Reads the project file; a missing or unreadable file raises an error
    // that names it.
    void open();
    void close();
    bool isOpen() const { return open_; }
    QStringList reportNames() const;

    // Chooses the report to run by its short name.
    void selectReport(const QString& name);
    const ReportLayout* selectedReport() const;

    void setParam(const QString& name, const QString& value);
    QString param(const QString& name) const;

    // The pages of the chosen report over its data connection.
    ReportDocument generate(const std::function<void(int page)>& progress = {}) const;
    // Runs the chosen report through the report system.
    void execute();

private:
    bool open_ = false;
    QList<ReportLayout> reports_;
    int selected_ = -1;
    QMap<QString, QString> params_;
};

} // namespace platform
