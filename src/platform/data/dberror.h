#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// A failure of the database layer. `text()` is the server's (or the data
// layer's) message as raised; the error handler translates it for people.
class DbError : public std::runtime_error {
public:
    enum class Kind { Connection, Statement, Apply, Client };

    DbError(Kind kind, const QString& text)
        : std::runtime_error(text.toStdString())
        , kind_(kind)
        , text_(text) {}

    Kind kind() const { return kind_; }
    const QString& text() const { return text_; }

private:
    Kind kind_;
    QString text_;
};

// An operation abandoned on purpose after its error was already reported.
// Unwinds the caller's work and is then ignored by the application hook.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "abort"; }
};

} // namespace platform
