#include "core/db/sqlite_db.h"

#include "core/db/database.h"

#include <cstring>

namespace kovara::core {

int checkResult(int resultCode, sqlite3* db)
{
    if (resultCode == SQLITE_OK || resultCode == SQLITE_ROW || resultCode == SQLITE_DONE)
        return resultCode;
    raiseSQLiteError(resultCode, db);
}

void raiseSQLiteError(int resultCode, sqlite3* db)
{
    if (db)
        throw SqliteError(format("SQLite Error %d - %s", resultCode, std::string(sqlite3_errmsg(db))));
    throw SqliteError(format("SQLite Error %d", resultCode));
}

void execSQL(sqlite3* db, const std::string& sql)
{
    if (!db)
        return;
    const char* current = sql.c_str();
    int remaining = static_cast<int>(sql.size());
    while (remaining > 0) {
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        checkResult(sqlite3_prepare_v2(db, current, remaining, &stmt, &tail), db);
        if (stmt) {
            try {
                checkResult(sqlite3_step(stmt), db);
            } catch (...) {
                checkResult(sqlite3_finalize(stmt), db);
                throw;
            }
            checkResult(sqlite3_finalize(stmt), db);
        }
        if (!tail || tail <= current)
            break; // nothing consumed: the rest cannot be read as a statement
        remaining -= static_cast<int>(tail - current);
        current = tail;
    }
}

int bindText(sqlite3_stmt* stmt, int index, const std::string& text)
{
    if (text.empty())
        return sqlite3_bind_text(stmt, index, nullptr, 0, SQLITE_TRANSIENT);
    return sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string columnText(sqlite3_stmt* stmt, int column)
{
    const unsigned char* text = sqlite3_column_text(stmt, column);
    const int bytes = sqlite3_column_bytes(stmt, column);
    if (!text)
        return std::string();
    if (bytes == 0)
        return std::string(reinterpret_cast<const char*>(text));
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
}

void openDatabase(const std::string& fileName, sqlite3*& db)
{
    db = nullptr;
    db = Database(fileName).release();
}

void closeDatabase(sqlite3*& db)
{
    if (!db)
        return;
    checkResult(sqlite3_close(db), db);
    db = nullptr;
}

bool tableExists(sqlite3* db, const std::string& tableName)
{
    int stepResult = 0;
    Statement st(db, format("SELECT name FROM sqlite_master WHERE type='table' AND name='%s';", tableName));
    if (!st)
        return false;
    st.run([&] { stepResult = st.step(); });
    return stepResult == SQLITE_ROW;
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db)
{
    checkResult(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr), db);
}

Statement::~Statement()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

int Statement::step()
{
    return checkResult(sqlite3_step(stmt_), db_);
}

void Statement::bindText(int index, const std::string& text)
{
    checkResult(kovara::core::bindText(stmt_, index, text), db_);
}

void Statement::bindInt(int index, int value)
{
    checkResult(sqlite3_bind_int(stmt_, index, value), db_);
}

void Statement::bindInt64(int index, sqlite3_int64 value)
{
    checkResult(sqlite3_bind_int64(stmt_, index, value), db_);
}

void Statement::bindBlob(int index, const void* data, int size)
{
    checkResult(sqlite3_bind_blob(stmt_, index, data, size, SQLITE_TRANSIENT), db_);
}

std::string Statement::columnText(int column) const
{
    return kovara::core::columnText(stmt_, column);
}

int Statement::columnInt(int column) const
{
    return sqlite3_column_int(stmt_, column);
}

sqlite3_int64 Statement::columnInt64(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

void Statement::finalize()
{
    sqlite3_stmt* stmt = stmt_;
    stmt_ = nullptr;
    if (stmt)
        checkResult(sqlite3_finalize(stmt), db_);
}

} // namespace kovara::core
