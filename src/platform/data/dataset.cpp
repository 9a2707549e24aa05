#include "platform/data/dataset.h"

#include "platform/data/connection.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

QString g_dateFormat = QStringLiteral("dd/MM/yyyy");
QString g_timeFormat = QStringLiteral("HH:mm:ss");

// Firebird's SQL types as QIBASE reports them in QSqlField::typeID().
constexpr int kSqlText = 452;
constexpr int kSqlVarying = 448;
constexpr int kSqlBlob = 520;
constexpr int kSqlInt64 = 580;
constexpr int kSqlLong = 496;
constexpr int kSqlShort = 500;

qint64 pow10(int n) {
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// "1e+05" or "1.5E-3" as a plain decimal text, exactly (the driver gives
// whole hundreds of thousands in exponent form).
QString withoutExponent(const QString& unsignedText) {
    const qsizetype e = unsignedText.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    if (e < 0)
        return unsignedText;
    const int exponent = unsignedText.mid(e + 1).toInt();
    const QString mantissa = unsignedText.left(e);
    const qsizetype dot = mantissa.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? mantissa : mantissa.left(dot);
    const QString digits = whole + (dot < 0 ? QString() : mantissa.mid(dot + 1));
    qsizetype point = whole.size() + exponent;
    QString padded = digits;
    if (point <= 0) {
        padded = QString(-point + 1, QLatin1Char('0')) + padded;
        point = 1;
    }
    if (point > padded.size())
        padded += QString(point - padded.size(), QLatin1Char('0'));
    return padded.left(point) + QLatin1Char('.') + padded.mid(point);
}

// "123.4" with scale 2 gives 12340; extra decimals are rounded half up.
qint64 parseScaled(const QString& text, int scale) {
    QString t = text.trimmed();
    bool negative = t.startsWith(QLatin1Char('-'));
    if (negative || t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    t = withoutExponent(t);
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? t : t.left(dot);
    QString fraction = dot < 0 ? QString() : t.mid(dot + 1);
    bool roundUp = fraction.size() > scale && fraction.at(scale) >= QLatin1Char('5');
    fraction = fraction.left(scale).leftJustified(scale, QLatin1Char('0'));
    qint64 value = whole.toLongLong() * pow10(scale) + (scale > 0 ? fraction.toLongLong() : 0);
    if (roundUp)
        ++value;
    return negative ? -value : value;
}

bool isBytesKind(FieldKind kind) {
    return kind == FieldKind::String || kind == FieldKind::FixedString || kind == FieldKind::Memo ||
           kind == FieldKind::Blob;
}

QString rightTrimmed(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return n == s.size() ? s : s.left(n);
}

// A timestamp as the wall-clock time it shows, in milliseconds from the
// start of the Julian calendar: ordered like the times themselves and free
// of any time-zone lookup, which is slow and needless for a stored value.
constexpr qint64 kMsecsPerDay = 86400000;
qint64 toStamp(const QDateTime& dt) {
    return dt.date().toJulianDay() * kMsecsPerDay + dt.time().msecsSinceStartOfDay();
}
QDateTime fromStamp(qint64 stamp) {
    return QDateTime(QDate::fromJulianDay(stamp / kMsecsPerDay),
                     QTime::fromMSecsSinceStartOfDay(int(stamp % kMsecsPerDay)));
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// parseScaled without temporaries, for the plain decimal texts the driver
// gives ("-1234.56"); anything else takes the general path.
qint64 textToScaled(QStringView t, int scale) {
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n && t[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    qint64 value = 0;
    int digits = 0;
    for (; i < n && isAsciiDigit(t[i]); ++i, ++digits)
        value = value * 10 + (t[i].unicode() - '0');
    int decimals = 0;
    bool roundUp = false;
    if (i < n && t[i] == QLatin1Char('.')) {
        for (++i; i < n && isAsciiDigit(t[i]); ++i) {
            if (decimals < scale) {
                value = value * 10 + (t[i].unicode() - '0');
                ++decimals;
            } else if (decimals == scale) {
                roundUp = t[i] >= QLatin1Char('5');
                ++decimals;
            }
        }
    }
    while (i < n && t[i] == QLatin1Char(' '))
        ++i;
    if (i < n || digits > 18)
        return parseScaled(t.toString(), scale); // exponent form, long numbers
    for (int d = std::min(decimals, scale); d < scale; ++d)
        value *= 10;
    if (roundUp)
        ++value;
    return negative ? -value : value;
}
} // namespace

bool FieldDef::isText() const {
    return kind == FieldKind::String || kind == FieldKind::FixedString || kind == FieldKind::Memo;
}

bool FieldDef::isNumber() const {
    return kind == FieldKind::Integer || kind == FieldKind::LargeInt || kind == FieldKind::Float ||
           kind == FieldKind::Numeric;
}

QString quoted(const QString& text) {
    QString inner = text;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

void setFieldDateFormats(const QString& date, const QString& time) {
    g_dateFormat = date;
    g_timeFormat = time;
}
QString fieldDateFormat() {
    return g_dateFormat;
}
QString fieldTimeFormat() {
    return g_timeFormat;
}

void settleLocalTimeZone() {
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("TZ") && QFile::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
#endif
}

QString scaledToText(qint64 scaled, int scale) {
    if (scale <= 0)
        return QString::number(scaled);
    const bool negative = scaled < 0;
    const quint64 magnitude = negative ? quint64(-(scaled + 1)) + 1 : quint64(scaled);
    const quint64 p = quint64(pow10(scale));
    QString text = QString::number(magnitude / p) + QLatin1Char('.') +
                   QString::number(magnitude % p).rightJustified(scale, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}

// Rows held column by column: numbers in 64-bit slots, texts and blobs as
// UTF-8 or raw bytes in one arena per column. Compact enough to hold a few
// hundred thousand rows of a free query.
struct DataSet::Store {
    struct Column {
        FieldKind kind;
        int scale = 0;
        std::vector<qint64> num;
        std::vector<double> real;
        std::vector<std::pair<quint32, quint32>> span; // offset, length in arena
        QByteArray arena;
        std::vector<bool> null;
    };
    std::vector<Column> columns;
    int rows = 0;

    explicit Store(const QList<FieldDef>& fields) {
        columns.resize(fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i) {
            columns[i].kind = fields[i].kind;
            columns[i].scale = fields[i].scale;
        }
    }

    int addRow() {
        for (Column& c : columns) {
            c.null.push_back(true);
            if (isBytesKind(c.kind))
                c.span.emplace_back(0, 0);
            else if (c.kind == FieldKind::Float)
                c.real.push_back(0);
            else
                c.num.push_back(0);
        }
        return rows++;
    }

    // `trimRight`: a CHAR column's value, padded with blanks by the server.
    void set(int row, int col, const QVariant& v, bool trimRight = false) {
        Column& c = columns[col];
        const bool isNull = !v.isValid() || v.isNull();
        c.null[row] = isNull;
        if (isNull)
            return;
        switch (c.kind) {
        case FieldKind::String:
        case FieldKind::Memo:
        case FieldKind::FixedString:
            if (v.typeId() == QMetaType::QString)
                putText(c, row, *static_cast<const QString*>(v.constData()),
                        trimRight || c.kind == FieldKind::FixedString);
            else
                putText(c, row, v.toString(), trimRight || c.kind == FieldKind::FixedString);
            break;
        case FieldKind::Blob:
            putBytes(c, row, v.toByteArray());
            break;
        case FieldKind::Integer:
        case FieldKind::LargeInt:
            c.num[row] = trimRight ? rightTrimmed(v.toString()).toLongLong() : v.toLongLong();
            break;
        case FieldKind::Float:
            c.real[row] = trimRight ? rightTrimmed(v.toString()).toDouble() : v.toDouble();
            break;
        case FieldKind::Numeric:
            if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
                c.num[row] = std::llround(v.toDouble() * double(pow10(c.scale)));
            else if (v.typeId() == QMetaType::QString)
                c.num[row] = textToScaled(*static_cast<const QString*>(v.constData()), c.scale);
            else
                c.num[row] = textToScaled(v.toString(), c.scale);
            break;
        case FieldKind::Date:
            c.num[row] = v.toDate().toJulianDay();
            break;
        case FieldKind::Time:
            c.num[row] = v.toTime().msecsSinceStartOfDay();
            break;
        case FieldKind::DateTime:
            c.num[row] = toStamp(v.toDateTime());
            break;
        }
    }

    // Gives back the room kept for growth once a whole result is in.
    void shrink() {
        for (Column& c : columns) {
            c.num.shrink_to_fit();
            c.real.shrink_to_fit();
            c.span.shrink_to_fit();
            c.null.shrink_to_fit();
            c.arena.squeeze();
        }
    }

    // Text as UTF-8 straight into the column's arena, without a temporary.
    static void putText(Column& c, int row, QStringView text, bool trimRight) {
        qsizetype n = text.size();
        if (trimRight)
            while (n > 0 && text[n - 1] == QLatin1Char(' '))
                --n;
        const QStringView part = text.left(n);
        QStringEncoder utf8(QStringEncoder::Utf8);
        const qsizetype start = c.arena.size();
        const qsizetype need = start + utf8.requiredSpace(part.size());
        if (c.arena.capacity() < need)
            c.arena.reserve(std::max(need, 2 * c.arena.capacity()));
        c.arena.resize(need);
        char* end = utf8.appendToBuffer(c.arena.data() + start, part);
        c.arena.resize(end - c.arena.constData());
        c.span[row] = {quint32(start), quint32(c.arena.size() - start)};
    }

    static void putBytes(Column& c, int row, const QByteArray& bytes) {
        c.span[row] = {quint32(c.arena.size()), quint32(bytes.size())};
        c.arena.append(bytes);
    }

    QByteArray bytes(const Column& c, int row) const {
        const auto [offset, length] = c.span[row];
        return QByteArray(c.arena.constData() + offset, length);
    }

    QVariant get(int row, int col) const {
        const Column& c = columns[col];
        if (c.null[row])
            return QVariant();
        switch (c.kind) {
        case FieldKind::String:
        case FieldKind::FixedString:
        case FieldKind::Memo: {
            const auto [offset, length] = c.span[row];
            return QString::fromUtf8(c.arena.constData() + offset, length);
        }
        case FieldKind::Blob:
            return bytes(c, row);
        case FieldKind::Integer:
            return int(c.num[row]);
        case FieldKind::LargeInt:
            return c.num[row];
        case FieldKind::Float:
            return c.real[row];
        case FieldKind::Numeric:
            return double(c.num[row]) / double(pow10(c.scale));
        case FieldKind::Date:
            return QDate::fromJulianDay(c.num[row]);
        case FieldKind::Time:
            return QTime::fromMSecsSinceStartOfDay(int(c.num[row]));
        case FieldKind::DateTime:
            return fromStamp(c.num[row]);
        }
        return QVariant();
    }
};

DataSet::DataSet(const QString& name, Connection* connection, QObject* parent)
    : QObject(parent)
    , connection_(connection) {
    setObjectName(name);
}

DataSet::~DataSet() = default;

void DataSet::setFields(const QList<FieldDef>& fields) {
    fields_ = fields;
    declaredFields_ = !fields.isEmpty();
}

int DataSet::requiredField(const QString& field) const {
    const int index = fieldIndex(field);
    if (index < 0)
        throw DbError(DbError::Kind::Client,
                      QStringLiteral("%1: Field '%2' not found").arg(name(), field));
    return index;
}

int DataSet::fieldIndex(const QString& name) const {
    for (qsizetype i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void DataSet::setTableName(const QString& table) {
    tableName_ = table;
    commandText_.clear();
}

void DataSet::setCommandText(const QString& sql, const QVariantList& params) {
    commandText_ = sql;
    params_ = params;
    tableName_.clear();
}

QStringList DataSet::storableFields() const {
    QStringList names;
    for (const FieldDef& f : fields_)
        if (!f.calculated)
            names << f.name;
    return names;
}

void DataSet::open() {
    if (isOpen())
        return;
    if (fetching_)
        throw DbError(DbError::Kind::Client, name() + QStringLiteral(": Dataset is busy"));
    if (!connection_)
        throw DbError(DbError::Kind::Statement, QStringLiteral("No connection for ") + name());
    connection_->ensureConnected();
    QString sql = commandText_;
    if (!tableName_.isEmpty()) {
        const QStringList names = declaredFields_ ? storableFields() : QStringList();
        sql = QStringLiteral("select %1 from %2")
                  .arg(names.isEmpty() ? QStringLiteral("*") : names.join(QStringLiteral(", ")),
                       tableName_);
    }
    if (sql.trimmed().isEmpty())
        throw DbError(DbError::Kind::Statement, QStringLiteral("No SQL statement available"));
    QSqlQuery query(connection_->database());
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    bool ok = query.prepare(sql);
    for (const QVariant& p : params_)
        query.addBindValue(p);
    ok = ok && query.exec();
    if (!ok) {
        const QSqlError e = query.lastError();
        throw DbError(DbError::Kind::Statement,
                      e.databaseText().isEmpty() ? e.driverText() : e.databaseText());
    }
    if (!query.isSelect())
        throw DbError(DbError::Kind::Statement,
                      QStringLiteral("Statement did not return a result set"));
    fetch(query);
}

QList<FieldDef> DataSet::fieldsOf(const QSqlRecord& record) {
    QList<FieldDef> fields;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField f = record.field(i);
        FieldDef def;
        def.name = f.name();
        def.size = int(f.length());
        const int sqlType = f.typeID() & ~1;
        switch (f.metaType().id()) {
        case QMetaType::Int:
            def.kind = FieldKind::Integer;
            break;
        case QMetaType::LongLong:
            def.kind = FieldKind::LargeInt;
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            def.kind = FieldKind::Float;
            break;
        case QMetaType::QDate:
            def.kind = FieldKind::Date;
            break;
        case QMetaType::QTime:
            def.kind = FieldKind::Time;
            break;
        case QMetaType::QDateTime:
            def.kind = FieldKind::DateTime;
            break;
        case QMetaType::QByteArray:
            def.kind = FieldKind::Blob;
            break;
        default:
            def.kind = sqlType == kSqlText   ? FieldKind::FixedString
                       : sqlType == kSqlBlob ? FieldKind::Memo
                                             : FieldKind::String;
            break;
        }
        const bool scaledInteger =
            sqlType == kSqlInt64 || sqlType == kSqlLong || sqlType == kSqlShort;
        if (scaledInteger && f.precision() > 0) {
            def.kind = FieldKind::Numeric;
            def.scale = f.precision();
        }
        if (sqlType == kSqlVarying || sqlType == kSqlText)
            def.size = int(f.length());
        fields << def;
    }
    return fields;
}

void DataSet::fetch(QSqlQuery& query) {
    const QSqlRecord record = query.record();
    // The result is read into a store of its own and shown at the end: views
    // that repaint during a batched fetch still see the dataset closed.
    const QList<FieldDef> fields = declaredFields_ ? fields_ : fieldsOf(record);
    std::vector<int> target(record.count(), -1);
    // CHAR columns come back padded with blanks, whatever the field declared.
    std::vector<bool> padded(record.count(), false);
    for (int i = 0; i < record.count(); ++i) {
        for (qsizetype f = 0; f < fields.size(); ++f)
            if (fields[f].name.compare(record.fieldName(i), Qt::CaseInsensitive) == 0) {
                target[i] = int(f);
                break;
            }
        padded[i] = (record.field(i).typeID() & ~1) == kSqlText;
    }

    auto fresh = std::make_unique<Store>(fields);
    const int batch = onFetchProgress && fetchBatch > 0 ? fetchBatch : 0;
    fetching_ = true;
    stopFetch_ = false;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{fetching_};
    while (query.next()) {
        const int row = fresh->addRow();
        for (int i = 0; i < record.count(); ++i) {
            if (target[i] < 0)
                continue;
            fresh->set(row, target[i], query.value(i), padded[i]);
        }
        if (batch && fresh->rows % batch == 0 && (!onFetchProgress(fresh->rows) || stopFetch_)) {
            query.finish();
            return;
        }
    }
    query.finish();
    fresh->shrink();

    emit aboutToReset();
    // A sort of another result's fields means nothing for this one.
    auto names = [](const QList<FieldDef>& list) {
        QStringList n;
        for (const FieldDef& f : list)
            n << f.name;
        return n;
    };
    if (names(fields_) != names(fields))
        sortKeys_.clear();
    fields_ = fields;
    store_ = std::move(fresh);
    status_.assign(store_->rows, RowStatus::Unchanged);
    originals_.clear();
    originals_.resize(store_->rows);
    natural_.resize(store_->rows);
    for (int i = 0; i < store_->rows; ++i)
        natural_[i] = i;
    state_ = State::Browse;
    const bool hasCalc =
        onCalcFields &&
        std::any_of(fields_.begin(), fields_.end(), [](const FieldDef& f) { return f.calculated; });
    if (hasCalc)
        for (int i = 0; i < store_->rows; ++i)
            runCalcFields(i);
    rebuildView();
    current_ = -1;
    emit reset();
    emit stateChanged();
    moveTo(view_.empty() ? -1 : 0);
    if (afterOpen)
        afterOpen();
}

void DataSet::createDataSet() {
    close();
    emit aboutToReset();
    store_ = std::make_unique<Store>(fields_);
    status_.clear();
    originals_.clear();
    natural_.clear();
    state_ = State::Browse;
    rebuildView();
    current_ = -1;
    eof_ = bof_ = true;
    emit reset();
    emit stateChanged();
}

void DataSet::close() {
    if (fetching_)
        stopFetch_ = true;
    if (!isOpen())
        return;
    emit aboutToReset();
    state_ = State::Inactive;
    store_.reset();
    status_.clear();
    originals_.clear();
    natural_.clear();
    view_.clear();
    buffer_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    emit reset();
    emit stateChanged();
}

void DataSet::execute() {
    if (!connection_)
        throw DbError(DbError::Kind::Statement, QStringLiteral("No connection for ") + name());
    connection_->ensureConnected();
    QSqlQuery query(connection_->database());
    bool ok = query.prepare(commandText_);
    for (const QVariant& p : params_)
        query.addBindValue(p);
    ok = ok && query.exec();
    if (!ok) {
        const QSqlError e = query.lastError();
        throw DbError(DbError::Kind::Statement,
                      e.databaseText().isEmpty() ? e.driverText() : e.databaseText());
    }
}

void DataSet::refresh() {
    checkOpen();
    const int keep = current_;
    close();
    open();
    if (keep >= 0 && keep < rowCount())
        moveTo(keep);
}

int DataSet::rowCount() const {
    return int(view_.size());
}

void DataSet::checkOpen() const {
    if (!isOpen())
        throw DbError(DbError::Kind::Client,
                      QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void DataSet::checkBrowsing(const char* operation) {
    checkOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        post();
    Q_UNUSED(operation);
}

void DataSet::moveTo(int row, bool notify) {
    const int count = rowCount();
    if (count == 0)
        row = -1;
    else
        row = std::clamp(row, 0, count - 1);
    const bool moved = row != current_;
    current_ = row;
    if (moved && notify) {
        emit currentChanged(current_);
        if (afterScroll)
            afterScroll();
    }
}

void DataSet::setCurrentRow(int row) {
    checkBrowsing("move");
    eof_ = bof_ = false;
    moveTo(row);
}

void DataSet::first() {
    checkBrowsing("move");
    moveTo(0);
    bof_ = true;
    eof_ = rowCount() == 0;
}

void DataSet::last() {
    checkBrowsing("move");
    moveTo(rowCount() - 1);
    eof_ = true;
    bof_ = rowCount() == 0;
}

void DataSet::next() {
    checkBrowsing("move");
    bof_ = false;
    if (current_ + 1 >= rowCount())
        eof_ = true;
    else
        moveTo(current_ + 1);
}

void DataSet::prior() {
    checkBrowsing("move");
    eof_ = false;
    if (current_ <= 0)
        bof_ = true;
    else
        moveTo(current_ - 1);
}

QVariant DataSet::value(int field) const {
    if (field < 0 || field >= fieldCount())
        throw DbError(DbError::Kind::Client, QStringLiteral("Field index out of range"));
    if (calcStored_ >= 0)
        return store_->get(calcStored_, field);
    if (state_ == State::Edit || state_ == State::Insert)
        return buffer_.value(field);
    if (!isOpen() || current_ < 0)
        return QVariant();
    return store_->get(view_[current_], field);
}

QVariant DataSet::value(const QString& field) const {
    const int index = requiredField(field);
    return value(index);
}

QString DataSet::text(const QString& field) const {
    const int index = requiredField(field);
    if (!isOpen() || (current_ < 0 && state_ != State::Insert && calcStored_ < 0))
        return QString();
    const QVariant v = value(index);
    if (state_ == State::Edit || state_ == State::Insert || calcStored_ >= 0) {
        const FieldDef& f = fields_[index];
        if (!v.isValid())
            return QString();
        if (f.kind == FieldKind::Date)
            return v.toDate().toString(g_dateFormat);
        if (f.kind == FieldKind::Numeric)
            return scaledToText(parseScaled(v.toString(), f.scale), f.scale);
        return v.toString();
    }
    return textAt(current_, index);
}

QVariant DataSet::valueAt(int row, int field) const {
    return store_->get(view_[row], field);
}

QVariant DataSet::storedValue(int storedRow, int field) const {
    return store_->get(storedRow, field);
}

bool DataSet::isNullAt(int row, int field) const {
    return store_->columns[field].null[view_[row]];
}

qint64 DataSet::scaledAt(int row, int field) const {
    const Store::Column& c = store_->columns[field];
    const int stored = view_[row];
    if (c.null[stored])
        return 0;
    if (c.kind == FieldKind::Float)
        return std::llround(c.real[stored]);
    return c.num[stored];
}

QString DataSet::textAt(int row, int field) const {
    const Store::Column& c = store_->columns[field];
    const int stored = view_[row];
    if (c.null[stored])
        return QString();
    switch (c.kind) {
    case FieldKind::Numeric:
        return scaledToText(c.num[stored], c.scale);
    case FieldKind::Float:
        return QString::number(c.real[stored], 'g', 15);
    case FieldKind::Date:
        return QDate::fromJulianDay(c.num[stored]).toString(g_dateFormat);
    case FieldKind::Time:
        return QTime::fromMSecsSinceStartOfDay(int(c.num[stored])).toString(g_timeFormat);
    case FieldKind::DateTime:
        return fromStamp(c.num[stored]).toString(g_dateFormat + QLatin1Char(' ') + g_timeFormat);
    case FieldKind::Blob:
        return QStringLiteral("(BLOB)");
    default:
        return store_->get(stored, field).toString();
    }
}

void DataSet::setValue(int field, const QVariant& value) {
    checkOpen();
    const FieldDef& f = fields_.at(field);
    QVariant v = value;
    // As in the client datasets of old, an empty text is a null value.
    if (f.isText() && v.typeId() == QMetaType::QString && v.toString().isEmpty())
        v = QVariant();
    if (f.kind == FieldKind::FixedString && v.isValid())
        v = rightTrimmed(v.toString());
    if (calcStored_ >= 0) {
        store_->set(calcStored_, field, v);
        return;
    }
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(DbError::Kind::Client, QStringLiteral("Dataset not in edit or insert mode"));
    if (buffer_.value(field) == v && buffer_.value(field).isNull() == v.isNull())
        return;
    buffer_[field] = v;
    if (onFieldChange)
        onFieldChange(*this, field);
    if (state_ == State::Edit && current_ >= 0)
        emit rowChanged(current_);
}

void DataSet::setValue(const QString& field, const QVariant& v) {
    const int index = requiredField(field);
    setValue(index, v);
}

bool DataSet::locate(const QStringList& fieldNames, const QVariantList& values, int options) {
    checkBrowsing("locate");
    std::vector<int> indexes;
    for (const QString& n : fieldNames) {
        indexes.push_back(requiredField(n));
    }
    const Qt::CaseSensitivity cs =
        (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int row = 0; row < rowCount(); ++row) {
        bool all = true;
        for (size_t k = 0; k < indexes.size() && all; ++k) {
            const QVariant stored = valueAt(row, indexes[k]);
            const QVariant wanted = values.value(int(k));
            if (stored.isNull() || wanted.isNull()) {
                all = stored.isNull() && wanted.isNull();
                continue;
            }
            const QString a = textAt(row, indexes[k]);
            const QString b =
                fields_[indexes[k]].kind == FieldKind::Date && wanted.typeId() == QMetaType::QDate
                    ? wanted.toDate().toString(g_dateFormat)
                    : wanted.toString();
            all = (options & PartialKey) ? a.startsWith(b, cs) : a.compare(b, cs) == 0;
        }
        if (all) {
            eof_ = bof_ = false;
            moveTo(row);
            return true;
        }
    }
    return false;
}

bool DataSet::matchesFilter(int stored) const {
    if (filtered_) {
        const Qt::CaseSensitivity cs =
            filterCaseInsensitive_ ? Qt::CaseInsensitive : Qt::CaseSensitive;
        for (const auto& [name, wanted] : filterTerms_) {
            const int f = fieldIndex(name);
            if (f < 0)
                return false;
            const QVariant v = store_->get(stored, f);
            if (v.isNull() || wanted.isNull()) {
                if (v.isNull() != wanted.isNull())
                    return false;
                continue;
            }
            if (v.toString().compare(wanted.toString(), cs) != 0)
                return false;
        }
    }
    return !predicate_ || predicate_(stored);
}

void DataSet::setFilter(const QList<QPair<QString, QVariant>>& terms, bool caseInsensitive) {
    filterTerms_ = terms;
    filterCaseInsensitive_ = caseInsensitive;
    if (isOpen() && filtered_) {
        emit aboutToReset();
        rebuildView();
        emit reset();
        moveTo(0);
    }
}

void DataSet::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (isOpen()) {
        emit aboutToReset();
        rebuildView();
        emit reset();
        moveTo(0);
    }
}

void DataSet::setRowPredicate(std::function<bool(int)> predicate) {
    predicate_ = std::move(predicate);
    if (isOpen()) {
        checkBrowsing("filter");
        emit aboutToReset();
        rebuildView();
        emit reset();
        current_ = -1;
        moveTo(0);
    }
}

void DataSet::setSort(const QList<SortKey>& keys) {
    sortKeys_ = keys;
    if (isOpen()) {
        checkBrowsing("sort");
        const int stored = current_ >= 0 ? view_[current_] : -1;
        emit aboutToReset();
        rebuildView();
        emit reset();
        const auto it = std::find(view_.begin(), view_.end(), stored);
        current_ = -1;
        moveTo(it == view_.end() ? 0 : int(it - view_.begin()));
    }
}

void DataSet::rebuildView() {
    view_.clear();
    if (!store_)
        return;
    view_.reserve(natural_.size());
    for (int stored : natural_)
        if (matchesFilter(stored))
            view_.push_back(stored);
    if (sortKeys_.isEmpty())
        return;
    // Sort keys are taken out once per field, not decoded per comparison.
    struct Keys {
        std::vector<QString> text;
        std::vector<double> number;
        std::vector<bool> null;
        bool isText = false;
    };
    std::vector<Keys> keys(sortKeys_.size());
    for (qsizetype k = 0; k < sortKeys_.size(); ++k) {
        const int f = sortKeys_[k].field;
        const Store::Column& c = store_->columns[f];
        Keys& key = keys[k];
        key.isText = isBytesKind(c.kind);
        key.null.resize(store_->rows);
        (key.isText ? (void)key.text.resize(store_->rows) : key.number.resize(store_->rows));
        for (int stored : view_) {
            key.null[stored] = c.null[stored];
            if (c.null[stored])
                continue;
            if (key.isText)
                key.text[stored] = store_->get(stored, f).toString();
            else
                key.number[stored] =
                    c.kind == FieldKind::Float ? c.real[stored] : double(c.num[stored]);
        }
    }
    std::stable_sort(view_.begin(), view_.end(), [&](int a, int b) {
        for (qsizetype k = 0; k < sortKeys_.size(); ++k) {
            const Keys& key = keys[k];
            int cmp = 0;
            if (key.null[a] || key.null[b])
                cmp = int(!key.null[a]) - int(!key.null[b]);
            else if (key.isText)
                cmp = key.text[a].compare(key.text[b], Qt::CaseInsensitive);
            else
                cmp = key.number[a] < key.number[b] ? -1 : key.number[a] > key.number[b] ? 1 : 0;
            if (cmp != 0)
                return sortKeys_[k].descending ? cmp > 0 : cmp < 0;
        }
        return false;
    });
}

QVariantList DataSet::rowValues(int stored) const {
    QVariantList values;
    values.reserve(fieldCount());
    for (int f = 0; f < fieldCount(); ++f)
        values << store_->get(stored, f);
    return values;
}

void DataSet::writeRow(int stored, const QVariantList& values) {
    for (int f = 0; f < fieldCount(); ++f)
        store_->set(stored, f, values.value(f));
}

void DataSet::runCalcFields(int stored) {
    if (!onCalcFields)
        return;
    calcStored_ = stored;
    try {
        onCalcFields(*this);
    } catch (...) {
        calcStored_ = -1;
        throw;
    }
    calcStored_ = -1;
}

void DataSet::reportClientError(std::function<void(DataSet&, const DbError&, DataAction&)>& handler,
                                const QString& text) {
    const DbError error(DbError::Kind::Client, text);
    DataAction action = DataAction::Fail;
    if (handler)
        handler(*this, error, action);
    if (action == DataAction::Abort)
        throw SilentAbort();
    throw error;
}

void DataSet::edit() {
    checkOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (rowCount() == 0) {
        insert();
        return;
    }
    editStored_ = view_[current_];
    buffer_ = rowValues(editStored_);
    state_ = State::Edit;
    emit stateChanged();
}

void DataSet::insert() {
    checkBrowsing("insert");
    buffer_ = QVariantList();
    for (int f = 0; f < fieldCount(); ++f)
        buffer_ << QVariant();
    editStored_ = -1;
    appendMode_ = false;
    state_ = State::Insert;
    emit stateChanged();
    if (afterInsert)
        afterInsert();
}

void DataSet::append() {
    insert();
    appendMode_ = true;
}

void DataSet::checkRequired() {
    for (int f = 0; f < fieldCount(); ++f) {
        const FieldDef& def = fields_[f];
        if (def.required && !def.calculated && buffer_.value(f).isNull())
            reportClientError(onPostError,
                              QStringLiteral("Field '%1' must have a value").arg(def.name));
    }
}

void DataSet::post() {
    checkOpen();
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    checkRequired();
    if (state_ == State::Edit) {
        const int stored = editStored_;
        if (status_[stored] == RowStatus::Unchanged) {
            originals_[stored] = rowValues(stored);
            status_[stored] = RowStatus::Modified;
        }
        writeRow(stored, buffer_);
        runCalcFields(stored);
        state_ = State::Browse;
        buffer_.clear();
        emit stateChanged();
        if (current_ >= 0)
            emit rowChanged(current_);
        return;
    }
    // A new row: stored at the end, shown at the current place or at the end.
    const int stored = store_->addRow();
    status_.push_back(RowStatus::Inserted);
    originals_.emplace_back();
    writeRow(stored, buffer_);
    runCalcFields(stored);
    state_ = State::Browse;
    buffer_.clear();
    const bool atEnd = appendMode_ || current_ < 0;
    if (atEnd) {
        natural_.push_back(stored);
    } else {
        const auto it = std::find(natural_.begin(), natural_.end(), view_[current_]);
        natural_.insert(it, stored);
    }
    emit stateChanged();
    if (!sortKeys_.isEmpty() || !matchesFilter(stored)) {
        emit aboutToReset();
        rebuildView();
        emit reset();
    } else {
        const int row = atEnd ? rowCount() : current_;
        emit aboutToInsertRow(row);
        view_.insert(view_.begin() + row, stored);
        emit rowInserted(row);
        current_ = -1;
    }
    const auto at = std::find(view_.begin(), view_.end(), stored);
    moveTo(at == view_.end() ? 0 : int(at - view_.begin()));
}

void DataSet::cancel() {
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    state_ = State::Browse;
    buffer_.clear();
    emit stateChanged();
    if (current_ >= 0)
        emit rowChanged(current_);
}

void DataSet::remove() {
    checkOpen();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    if (current_ < 0)
        reportClientError(onDeleteError,
                          QStringLiteral("Cannot perform this operation on an empty dataset"));
    const int stored = view_[current_];
    switch (status_[stored]) {
    case RowStatus::Inserted:
        status_[stored] = RowStatus::Discarded;
        break;
    case RowStatus::Unchanged:
        originals_[stored] = rowValues(stored);
        status_[stored] = RowStatus::Deleted;
        break;
    default:
        status_[stored] = RowStatus::Deleted;
        break;
    }
    natural_.erase(std::find(natural_.begin(), natural_.end(), stored));
    const int row = current_;
    emit aboutToRemoveRow(row);
    view_.erase(view_.begin() + row);
    emit rowRemoved(row);
    current_ = -1;
    moveTo(row);
}

int DataSet::changeCount() const {
    int count = 0;
    for (RowStatus s : status_)
        count += s == RowStatus::Modified || s == RowStatus::Inserted || s == RowStatus::Deleted;
    return count;
}

QString DataSet::writeTable() const {
    if (!updateTable_.isEmpty())
        return updateTable_;
    return tableName_;
}

void DataSet::applyOne(QSqlQuery& query, int stored) {
    const QString table = writeTable();
    const RowStatus s = status_[stored];
    QStringList assignments;
    QStringList conditions;
    QVariantList values;
    auto addConditions = [&](const QVariantList& original) {
        for (int f = 0; f < fieldCount(); ++f) {
            const FieldDef& def = fields_[f];
            if (def.calculated || def.kind == FieldKind::Blob || def.kind == FieldKind::Memo)
                continue;
            if (original.value(f).isNull()) {
                conditions << def.name + QStringLiteral(" IS NULL");
            } else {
                conditions << def.name + QStringLiteral(" = ?");
                values << original.value(f);
            }
        }
    };
    QString sql;
    if (s == RowStatus::Inserted) {
        QStringList names;
        for (int f = 0; f < fieldCount(); ++f) {
            const QVariant v = store_->get(stored, f);
            if (fields_[f].calculated || v.isNull())
                continue;
            names << fields_[f].name;
            values << v;
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, names.join(QStringLiteral(", ")),
                       QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    } else if (s == RowStatus::Deleted) {
        addConditions(originals_[stored]);
        sql = QStringLiteral("DELETE FROM %1 WHERE %2")
                  .arg(table, conditions.join(QStringLiteral(" AND ")));
    } else {
        const QVariantList& original = originals_[stored];
        for (int f = 0; f < fieldCount(); ++f) {
            const QVariant v = store_->get(stored, f);
            if (fields_[f].calculated ||
                (v == original.value(f) && v.isNull() == original.value(f).isNull()))
                continue;
            assignments << fields_[f].name + QStringLiteral(" = ?");
            values << v;
        }
        if (assignments.isEmpty())
            return;
        addConditions(original);
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                  .arg(table, assignments.join(QStringLiteral(", ")),
                       conditions.join(QStringLiteral(" AND ")));
    }
    bool ok = query.prepare(sql);
    for (const QVariant& v : values)
        query.addBindValue(v);
    ok = ok && query.exec();
    if (!ok) {
        const QSqlError e = query.lastError();
        throw DbError(DbError::Kind::Apply,
                      e.databaseText().isEmpty() ? e.driverText() : e.databaseText());
    }
    if (s != RowStatus::Inserted && query.numRowsAffected() == 0)
        throw DbError(DbError::Kind::Apply,
                      QStringLiteral("Record not found or changed by another user"));
}

int DataSet::applyUpdates(int maxErrors) {
    Q_UNUSED(maxErrors);
    checkBrowsing("apply");
    if (changeCount() == 0)
        return 0;
    if (writeTable().isEmpty())
        throw DbError(DbError::Kind::Apply,
                      QStringLiteral("Unable to resolve record: no table to update"));
    connection_->ensureConnected();
    QSqlDatabase db = connection_->database();
    if (!db.transaction())
        throw DbError(DbError::Kind::Apply, db.lastError().databaseText());
    try {
        QSqlQuery query(db);
        // Deletions first, so that a key removed and added again can be written.
        for (RowStatus pass : {RowStatus::Deleted, RowStatus::Modified, RowStatus::Inserted})
            for (int stored = 0; stored < int(status_.size()); ++stored)
                if (status_[stored] == pass)
                    applyOne(query, stored);
        if (!db.commit())
            throw DbError(DbError::Kind::Apply, db.lastError().databaseText());
    } catch (const DbError& error) {
        // Nothing of the log reaches the database; the log stays pending.
        db.rollback();
        UpdateResponse response = UpdateResponse::Abort;
        if (onUpdateError)
            onUpdateError(*this, error, response);
        return 1;
    }
    for (auto& s : status_) {
        if (s == RowStatus::Deleted)
            s = RowStatus::Discarded;
        else if (s == RowStatus::Modified || s == RowStatus::Inserted)
            s = RowStatus::Unchanged;
    }
    for (auto& o : originals_)
        o.clear();
    return 0;
}

void DataSet::cancelUpdates() {
    if (!isOpen())
        return;
    cancel();
    const int keep = current_;
    emit aboutToReset();
    for (int stored = 0; stored < int(status_.size()); ++stored) {
        switch (status_[stored]) {
        case RowStatus::Modified:
            writeRow(stored, originals_[stored]);
            status_[stored] = RowStatus::Unchanged;
            break;
        case RowStatus::Inserted:
            status_[stored] = RowStatus::Discarded;
            natural_.erase(std::find(natural_.begin(), natural_.end(), stored));
            break;
        case RowStatus::Deleted:
            writeRow(stored, originals_[stored]);
            status_[stored] = RowStatus::Unchanged;
            natural_.push_back(stored);
            break;
        default:
            break;
        }
        originals_[stored].clear();
    }
    // Deleted rows come back at their first place.
    std::sort(natural_.begin(), natural_.end());
    rebuildView();
    emit reset();
    current_ = -1;
    moveTo(keep);
}

} // namespace platform
