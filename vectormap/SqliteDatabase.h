#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace zelkora {

// A failure reported by SQLite: its result code and its own (English) message. The reader and
// the writer turn it into the user's words.
class SqliteFailure : public std::runtime_error {
  public:
    SqliteFailure(int code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    // The primary result code (SQLITE_CORRUPT, SQLITE_NOMEM, ...).
    int code() const { return code_; }

  private:
    int code_;
};

// A database connection, closed by the destructor. It starts as an empty database in memory,
// which a GeoPackage is built in or read into; nothing of it touches the disk.
class SqliteDatabase {
  public:
    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* handle() const { return db_; }
    // Runs statements that return no rows.
    void exec(const char* sql);
    // Throws the connection's last error.
    [[noreturn]] void fail() const;

  private:
    sqlite3* db_ = nullptr;
};

// One prepared statement of a connection.
class SqliteStatement {
  public:
    SqliteStatement(const SqliteDatabase& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1, as in SQLite.
    void bind(int index, qint64 value);
    void bind(int index, double value);
    void bind(int index, const QString& text);
    void bindBlob(int index, const QByteArray& blob);
    void bindNull(int index);

    // Runs to the next row: true when there is one, false when the statement is done.
    bool step();
    // Makes the statement ready to run again with new parameters.
    void reset();

    // Columns count from 0, as in SQLite.
    int type(int column) const;  // SQLITE_INTEGER, SQLITE_TEXT, SQLITE_NULL, ...
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    const unsigned char* blob(int column, std::size_t& size) const;

  private:
    const SqliteDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;

    void check(int rc) const;
};

}  // namespace zelkora
