#pragma once

#include "platform/data/dberror.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class QSqlQuery;
class QSqlRecord;

namespace platform {

class Connection;

enum class FieldKind {
    String,      // variable length text
    FixedString, // CHAR(n): right-trimmed when read
    Integer,
    LargeInt,
    Float,
    Numeric, // exact decimal: held as an integer scaled by 10^scale
    Date,
    Time,
    DateTime,
    Blob,
    Memo, // text blob
};

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 20; // characters for strings, digits for numerics
    bool required = false;
    QString label;
    bool calculated = false;
    int scale = 0; // decimals of a Numeric field

    QString displayLabel() const { return label.isEmpty() ? name : label; }
    bool isText() const;
    bool isNumber() const;
};

// What a client-dataset error handler decides (post, edit and delete errors).
enum class DataAction { Fail, Abort };
// What a provider update-error handler decides.
enum class UpdateResponse { Skip, Abort };

// One query or table, its provider and the client dataset holding the rows
// in memory: declared fields, command text or table name, a current row,
// locate, in-memory filters and sorting, editing with a change log, and an
// apply that writes the whole log in one transaction with bound parameters.
class DataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum LocateOption { CaseInsensitive = 1, PartialKey = 2 };
    struct SortKey {
        int field = 0;
        bool descending = false;
    };

    DataSet(const QString& name, Connection* connection, QObject* parent = nullptr);
    ~DataSet() override;

    QString name() const { return objectName(); }
    Connection* connection() const { return connection_; }
    void setConnection(Connection* connection) { connection_ = connection; }

    // Name of the provider's source dataset ("QUsuarios", "TUsuario"); the
    // error handler derives the table label from it.
    QString sourceName() const { return sourceName_; }
    void setSourceName(const QString& name) { sourceName_ = name; }

    // Fields. With none declared, the fields are taken from each result.
    void setFields(const QList<FieldDef>& fields);
    const QList<FieldDef>& fields() const { return fields_; }
    int fieldCount() const { return int(fields_.size()); }
    int fieldIndex(const QString& name) const;    // -1 when unknown (case-insensitive)
    int requiredField(const QString& name) const; // throws when unknown
    const FieldDef& field(int index) const { return fields_[index]; }

    // Source: a table (all its rows, and the table the changes go to) or a
    // command text with optional positional parameters ("?").
    void setTableName(const QString& table);
    QString tableName() const { return tableName_; }
    void setCommandText(const QString& sql, const QVariantList& params = {});
    QString commandText() const { return commandText_; }
    // Table that apply writes to when the source is a command text.
    void setUpdateTable(const QString& table) { updateTable_ = table; }

    void open();
    // Opens an empty in-memory table of the declared fields, with no
    // connection behind it (rows are added with insert/append and post).
    void createDataSet();
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    // Runs the command text as a statement without rows (committed at once).
    void execute();
    // Reads the rows again, keeping filter and sort; unsaved changes are dropped.
    void refresh();

    // Rows as seen through the filter and the sort order.
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }
    int currentRow() const { return current_; }
    void setCurrentRow(int row);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }

    QVariant value(int field) const;
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    QVariant valueAt(int row, int field) const;
    QString textAt(int row, int field) const;
    bool isNullAt(int row, int field) const;
    // Numeric fields: the exact scaled integer (value / 10^scale).
    qint64 scaledAt(int row, int field) const;

    void setValue(int field, const QVariant& value);
    void setValue(const QString& field, const QVariant& value);

    bool locate(const QStringList& fields, const QVariantList& values, int options = 0);

    // In-memory filter: field = value pairs, all of which must match.
    void setFilter(const QList<QPair<QString, QVariant>>& terms, bool caseInsensitive = false);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    // An extra predicate over stored rows (the grid's filter row).
    void setRowPredicate(std::function<bool(int storedRow)> predicate);
    // In-memory sort; an empty list restores the natural order.
    void setSort(const QList<SortKey>& keys);
    const QList<SortKey>& sort() const { return sortKeys_; }
    // The stored row behind a visible row (for predicates and the grid).
    int storedRow(int row) const { return view_[row]; }
    QVariant storedValue(int storedRow, int field) const;

    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void remove();

    // Writes the change log in ONE transaction. Returns the number of
    // errors; with any error the transaction is rolled back, nothing in the
    // database changes and the log is kept. maxErrors is accepted for the
    // callers' sake: an apply never commits part of a log.
    int applyUpdates(int maxErrors = 0);
    void cancelUpdates();
    int changeCount() const;

    // Events.
    std::function<void()> afterScroll;
    std::function<void()> afterInsert;
    std::function<void()> afterOpen;
    // Batched fetching: while the rows of an open arrive, onFetchProgress runs
    // after every fetchBatch rows with the count so far (a window repaints
    // there). The rows become visible together when the fetch ends, so views
    // never see a half-read result. Returning false, or close() from inside the
    // callback, abandons the fetch and leaves the dataset closed.
    int fetchBatch = 0;
    std::function<bool(int rows)> onFetchProgress;
    bool fetching() const { return fetching_; }
    std::function<void(DataSet&)> onCalcFields;
    std::function<void(DataSet&, int field)> onFieldChange;
    std::function<void(DataSet&, const DbError&, DataAction&)> onPostError;
    std::function<void(DataSet&, const DbError&, DataAction&)> onEditError;
    std::function<void(DataSet&, const DbError&, DataAction&)> onDeleteError;
    std::function<void(DataSet&, const DbError&, UpdateResponse&)> onUpdateError;

signals:
    void aboutToReset();
    void reset(); // opened, closed, filtered or sorted
    void aboutToInsertRow(int row);
    void aboutToRemoveRow(int row);
    void rowChanged(int row);     // values of a visible row changed
    void rowInserted(int row);    // a visible row was added
    void rowRemoved(int row);     // a visible row was removed
    void currentChanged(int row); // the current row moved
    void stateChanged();

private:
    struct Store;
    enum class RowStatus : quint8 { Unchanged, Modified, Inserted, Deleted, Discarded };

    void fetch(QSqlQuery& query);
    static QList<FieldDef> fieldsOf(const QSqlRecord& record);
    void rebuildView();
    void moveTo(int row, bool notify = true);
    void checkOpen() const;
    void checkBrowsing(const char* operation);
    void checkRequired();
    void runCalcFields(int storedRow);
    QVariantList rowValues(int storedRow) const;
    void writeRow(int storedRow, const QVariantList& values);
    bool matchesFilter(int storedRow) const;
    void reportClientError(std::function<void(DataSet&, const DbError&, DataAction&)>& handler,
                           const QString& text);
    QString writeTable() const;
    void applyOne(QSqlQuery& query, int storedRow);
    QStringList storableFields() const;

    Connection* connection_;
    QString sourceName_;
    QList<FieldDef> fields_;
    bool declaredFields_ = false;
    QString tableName_;
    QString commandText_;
    QVariantList params_;
    QString updateTable_;

    State state_ = State::Inactive;
    bool fetching_ = false;
    bool stopFetch_ = false;
    std::unique_ptr<Store> store_;
    std::vector<RowStatus> status_;
    std::vector<QVariantList> originals_; // per stored row, empty unless modified
    std::vector<int> natural_;            // stored rows in their natural order
    std::vector<int> view_;               // visible rows, filtered and sorted
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;

    QVariantList buffer_; // values of the row being edited or inserted
    int editStored_ = -1; // stored row being edited; -1 while inserting
    int calcStored_ = -1; // stored row whose calculated fields are being set
    bool appendMode_ = false;

    QList<QPair<QString, QVariant>> filterTerms_;
    bool filterCaseInsensitive_ = false;
    bool filtered_ = false;
    std::function<bool(int)> predicate_;
    QList<SortKey> sortKeys_;
};

// Wraps a text in single quotes, doubling the quotes inside it.
QString quoted(const QString& text);

// Format of dates and times in the texts of fields (the workstation's).
void setFieldDateFormats(const QString& date, const QString& time);
QString fieldDateFormat();
QString fieldTimeFormat();

// Exact decimal text of a scaled integer ("-12.05" for -1205, scale 2).
QString scaledToText(qint64 scaled, int scale);

// Called once at start, before any thread: names the local time zone for
// the C library when nothing else does, so that it stops checking the zone
// file at every local-time conversion (the driver makes one for every
// timestamp it reads, which made long reads twice as slow). The zone stays
// the system's own.
void settleLocalTimeZone();

} // namespace platform
