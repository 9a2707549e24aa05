#pragma once

#include <QMap>
#include <QSqlDatabase>
#include <QString>

namespace platform {

// One named database connection. Parameters are set by name; names compare
// without regard to case and an empty value removes the parameter.
// "Database", "User_Name" and "password" map to the QIBASE database name,
// user and password. No default credentials and no role are ever sent.
class Connection {
public:
    explicit Connection(const QString& name);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& name() const { return name_; }

    void setParam(const QString& param, const QString& value);
    QString param(const QString& param) const;
    bool hasParam(const QString& param) const;

    // Opens the connection with the current parameters; throws DbError.
    void connect();
    void disconnect();
    bool connected() const;
    // Connects when not connected yet (what a dataset does when it opens).
    void ensureConnected();

    QSqlDatabase database() const;

private:
    QString name_;
    QMap<QString, QString> params_; // keys in lower case
};

} // namespace platform
