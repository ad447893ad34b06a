#include "core/db/sqlite_db.h"

#include "core/db/database.h"

#include "core/base/translation.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace kovara::core {

int checkResult(int resultCode, sqlite3* db)
{
    if (resultCode == SQLITE_OK || resultCode == SQLITE_ROW || resultCode == SQLITE_DONE)
        return resultCode;
    raiseSQLiteError(resultCode, db);
}

namespace {
constexpr const char* kContext = "kovara::core::Database";

std::string folderOf(const std::string& fileName)
{
    const std::string folder = std::filesystem::path(fileName).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}
} // namespace

std::string databaseFileProblem(int resultCode, const std::string& fileName)
{
    if (fileName.empty())
        return std::string();
    const std::string folder = folderOf(fileName);
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return withArgs(translatedText(kContext, "%1 is in use by another program, which kept it locked for too "
                                                 "long. Wait until that program has finished (or close it), then "
                                                 "try again."),
                        fileName);
    case SQLITE_FULL:
        return withArgs(translatedText(kContext, "The disk that holds %1 is full. Make room on the disk, then try "
                                                 "again."),
                        fileName);
    case SQLITE_READONLY:
        return withArgs(translatedText(kContext, "Kovara cannot write to %1: the file or its folder %2 is "
                                                 "read-only. Allow writing to them, then try again."),
                        fileName, folder);
    case SQLITE_CANTOPEN:
        if (::access(folder.c_str(), F_OK) != 0)
            return withArgs(translatedText(kContext, "Kovara cannot open %1: its folder %2 does not exist."),
                            fileName, folder);
        if (::access(folder.c_str(), W_OK) != 0)
            return withArgs(translatedText(kContext, "Kovara cannot open %1 for writing: its folder %2 is "
                                                     "read-only. Allow writing to the folder, then try again."),
                            fileName, folder);
        return withArgs(translatedText(kContext, "Kovara cannot open %1. Check that the file and its folder %2 "
                                                 "can be read and written, then try again."),
                        fileName, folder);
    case SQLITE_PERM:
        return withArgs(translatedText(kContext, "Kovara is not allowed to open %1. Check the permissions of the "
                                                 "file and its folder %2, then try again."),
                        fileName, folder);
    case SQLITE_IOERR:
        return withArgs(translatedText(kContext, "Kovara could not read or write %1 (a fault of the disk or its "
                                                 "file system). Check the disk, then try again."),
                        fileName);
    case SQLITE_CORRUPT:
        return withArgs(translatedText(kContext, "%1 is damaged. Restore it from a backup (Restore from "
                                                 "Backup...), or move it away to start with an empty file."),
                        fileName);
    case SQLITE_NOTADB:
        return withArgs(translatedText(kContext, "%1 is not a database Kovara can read: it is damaged or a file "
                                                 "of another program. Restore it from a backup (Restore from "
                                                 "Backup...), or move it away to start with an empty file."),
                        fileName);
    default:
        return std::string();
    }
}

void raiseSQLiteError(int resultCode, sqlite3* db, const std::string& fileName)
{
    const std::string raw = db ? format("SQLite Error %d - %s", resultCode, std::string(sqlite3_errmsg(db)))
                               : format("SQLite Error %d", resultCode);
    std::string file = fileName;
    if (file.empty() && db) {
        const char* name = sqlite3_db_filename(db, "main");
        file = name ? name : "";
    }
    // A write the file system refused for want of room comes back from the
    // engine as an input/output error: it is a full disk all the same.
    int code = resultCode;
    if (db && (resultCode & 0xff) == SQLITE_IOERR) {
        const int error = sqlite3_system_errno(db);
        if (error == ENOSPC || error == EDQUOT || error == EFBIG)
            code = SQLITE_FULL;
    }
    const std::string problem = databaseFileProblem(code, file);
    throw SqliteError(problem.empty() ? raw : problem + "\n\n(" + raw + ")", resultCode);
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
