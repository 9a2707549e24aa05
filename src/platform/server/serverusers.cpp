#include "platform/server/serverusers.h"

#include <QLibrary>
#include <ibase.h>
#include <memory>

namespace platform {

namespace {

using UserCall = ISC_STATUS(ISC_EXPORT*)(ISC_STATUS*, const USER_SEC_DATA*);

struct Client {
    QString name =
#ifdef Q_OS_WIN
        QStringLiteral("gds32");
#else
        QStringLiteral("fbclient");
#endif
    std::unique_ptr<QLibrary> library;
    QString error;
    UserCall add = nullptr;
    UserCall remove = nullptr;
    UserCall modify = nullptr;

    bool loaded() const {
        return add && remove && modify;
    }
};

Client& client() {
    static Client c;
    return c;
}

// Which fields of the record are given: the same set for every call, as
// the record always carries server, password and the administrator's login.
constexpr short kFlags =
    sec_server_spec | sec_password_spec | sec_dba_user_name_spec | sec_dba_password_spec;

} // namespace

bool ServerUsers::load() {
    Client& c = client();
    if (c.loaded())
        return true;
    c.library = std::make_unique<QLibrary>(c.name);
    bool ok = c.library->load();
#ifndef Q_OS_WIN
    if (!ok) {
        // Without the development package only the versioned file is installed.
        c.library->setFileNameAndVersion(c.name, 2);
        ok = c.library->load();
    }
#endif
    if (!ok) {
        c.error = c.library->errorString();
        return false;
    }
    c.add = reinterpret_cast<UserCall>(c.library->resolve("isc_add_user"));
    c.remove = reinterpret_cast<UserCall>(c.library->resolve("isc_delete_user"));
    c.modify = reinterpret_cast<UserCall>(c.library->resolve("isc_modify_user"));
    if (!c.loaded()) {
        c.error = c.library->errorString();
        c.add = c.remove = c.modify = nullptr;
        return false;
    }
    c.error.clear();
    return true;
}

QString ServerUsers::loadError() {
    return client().error;
}

QString ServerUsers::libraryName() {
    return client().name;
}

void ServerUsers::setLibraryName(const QString& name) {
    Client& c = client();
    c.add = c.remove = c.modify = nullptr;
    c.library.reset();
    c.error.clear();
    c.name = name;
}

ServerUsers::Result ServerUsers::call(Operation operation, const Request& request) {
    Client& c = client();
    Result result;
    if (!c.loaded()) {
        result.failed = true;
        return result;
    }
    QByteArray server = request.server.toLocal8Bit();
    QByteArray user = request.userName.toLocal8Bit();
    QByteArray password = request.password.toLocal8Bit();
    QByteArray dbaUser = request.dbaUserName.toLocal8Bit();
    QByteArray dbaPassword = request.dbaPassword.toLocal8Bit();

    USER_SEC_DATA data{};
    data.sec_flags = kFlags;
    data.uid = 0;
    data.gid = 0;
    data.protocol = server.isEmpty() ? sec_protocol_local : sec_protocol_tcpip;
    data.server = server.data();
    data.user_name = user.data();
    data.password = operation == Operation::Delete ? nullptr : password.data();
    data.dba_user_name = dbaUser.data();
    data.dba_password = dbaPassword.data();

    ISC_STATUS status[ISC_STATUS_LENGTH] = {};
    UserCall function = operation == Operation::Add      ? c.add
                        : operation == Operation::Delete ? c.remove
                                                         : c.modify;
    function(status, &data);

    result.failed = status[0] == isc_arg_gds && status[1] > 0;
    if (!result.failed)
        return result;
    result.code = long(status[1]);
    // Walk the vector: each argument is a type followed by its value;
    // strings given with a length take one more entry.
    for (int i = 0; i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end;) {
        const ISC_STATUS type = status[i];
        if (type == isc_arg_gds)
            result.codes << long(status[i + 1]);
        i += type == isc_arg_cstring ? 3 : 2;
    }
    return result;
}

QString serverOfLocation(const QString& location) {
    const qsizetype colon = location.indexOf(QLatin1Char(':'));
    // "C:\folder" is a drive letter, not a host.
    if (colon <= 1)
        return QString();
    return location.left(colon);
}

} // namespace platform
