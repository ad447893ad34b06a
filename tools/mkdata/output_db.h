#pragma once
// Writing a content database: built under a temporary name and renamed over
// the target only when complete, so a failed run never leaves a half file.
#include "core/db/sqlite_db.h"

#include <string>

namespace kovara::mkdata {

class OutputDatabase {
public:
    explicit OutputDatabase(const std::string& path);
    ~OutputDatabase();
    sqlite3* db() const { return db_; }
    // Commits the open transaction, closes and renames into place.
    void finish();

private:
    std::string path_;
    std::string tempPath_;
    sqlite3* db_ = nullptr;
};

} // namespace kovara::mkdata
