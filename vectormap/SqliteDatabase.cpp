#include "vectormap/SqliteDatabase.h"

#include <sqlite3.h>

namespace zelkora {

SqliteDatabase::SqliteDatabase() {
    const int rc =
        sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteFailure(rc, message);
    }
    sqlite3_extended_result_codes(db_, 0);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(db_);
}

void SqliteDatabase::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail();
    }
}

void SqliteDatabase::fail() const {
    throw SqliteFailure(sqlite3_errcode(db_) & 0xFF, sqlite3_errmsg(db_));
}

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()), &stmt_,
                           nullptr) != SQLITE_OK) {
        db_.fail();
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

void SqliteStatement::check(int rc) const {
    if (rc != SQLITE_OK) {
        db_.fail();
    }
}

void SqliteStatement::bind(int index, qint64 value) {
    check(sqlite3_bind_int64(stmt_, index, value));
}

void SqliteStatement::bind(int index, double value) {
    check(sqlite3_bind_double(stmt_, index, value));
}

void SqliteStatement::bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    check(sqlite3_bind_text64(stmt_, index, utf8.constData(),
                              static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
}

void SqliteStatement::bindBlob(int index, const QByteArray& blob) {
    check(sqlite3_bind_blob64(stmt_, index, blob.constData(),
                              static_cast<sqlite3_uint64>(blob.size()), SQLITE_TRANSIENT));
}

void SqliteStatement::bindNull(int index) {
    check(sqlite3_bind_null(stmt_, index));
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    db_.fail();
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::type(int column) const {
    return sqlite3_column_type(stmt_, column);
}

qint64 SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

QString SqliteStatement::text(int column) const {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return utf8 ? QString::fromUtf8(utf8, size) : QString();
}

const unsigned char* SqliteStatement::blob(int column, std::size_t& size) const {
    const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, column));
    size = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
    return data;
}

}  // namespace zelkora
