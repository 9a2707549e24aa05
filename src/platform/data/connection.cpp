#include "platform/data/connection.h"

#include "platform/data/dberror.h"

#include <QSqlError>

namespace platform {

Connection::Connection(const QString& name)
    : name_(name) {
    QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name_);
}

Connection::~Connection() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

void Connection::setParam(const QString& param, const QString& value) {
    if (value.isEmpty())
        params_.remove(param.toLower());
    else
        params_.insert(param.toLower(), value);
}

QString Connection::param(const QString& param) const {
    return params_.value(param.toLower());
}

bool Connection::hasParam(const QString& param) const {
    return params_.contains(param.toLower());
}

void Connection::connect() {
    QSqlDatabase db = database();
    db.close();
    db.setDatabaseName(param(QStringLiteral("Database")));
    db.setUserName(param(QStringLiteral("User_Name")));
    db.setPassword(param(QStringLiteral("password")));
    // Text travels as UTF-8 whatever the databases' own character set is.
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        throw DbError(DbError::Kind::Connection,
                      error.databaseText().isEmpty() ? error.driverText() : error.databaseText());
    }
}

void Connection::disconnect() {
    database().close();
}

bool Connection::connected() const {
    return database().isOpen();
}

void Connection::ensureConnected() {
    if (!connected())
        connect();
}

QSqlDatabase Connection::database() const {
    return QSqlDatabase::database(name_, false);
}

} // namespace platform
