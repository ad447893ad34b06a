// A backup file chosen for a restore: checked, then unpacked beside the
// databases (everything a restore does before it replaces files). Damage of
// any kind must end in RestoreFailed with no unpacked image left behind and
// the databases untouched.
//
// Byte 0 of the input chooses what the rest is:
//   even  the backup file itself, byte for byte;
//   odd   two database images (bytes 1-2, little-endian, give the length of
//         the prayers image; the plans image is the rest). The program's own
//         writer packs them, so the unpacking gets past zlib's checksums to
//         the images; a file made that way (the writer refuses images that
//         would not restore) must unpack to images of the sizes it packed.
#include "core/app/backup_file.h"
#include "fuzz_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kovara::core;

namespace {
const std::string kPrayersContent = "current prayers database";
const std::string kPlansContent = "current plans database";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string folder = fuzz::scratchFolder();
    const std::string backupPath = folder + "input.kova2bak";
    UserDatabases databases;
    databases.prayersPath = folder + "prayers.kova2";
    databases.plansPath = folder + "userreadplans.kova2";

    const bool packed = data[0] & 1;
    std::string prayersImage, plansImage;
    if (packed) {
        const std::size_t length = size >= 3 ? static_cast<std::size_t>(data[1] | (data[2] << 8)) : 0;
        const std::string rest(reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 3),
                               size - std::min<std::size_t>(size, 3));
        prayersImage = rest.substr(0, std::min(length, rest.size()));
        plansImage = rest.substr(prayersImage.size());
        fuzz::writeFile(databases.prayersPath, prayersImage);
        fuzz::writeFile(databases.plansPath, plansImage);
        // The writer refuses images that would not restore (no database, no
        // table, damage): there is then no backup to unpack.
        try {
            writeBackupFile(backupPath, databases, fromDayCount(45000.5));
        } catch (const Exception&) {
            return 0;
        }
    } else {
        fuzz::writeFile(backupPath, data + 1, size - 1);
    }
    // The live databases are stand-ins: unpacking must not even read them.
    fuzz::writeFile(databases.prayersPath, kPrayersContent);
    fuzz::writeFile(databases.plansPath, kPlansContent);

    BackupHeader header;
    const BackupCheck check = checkBackupFile(backupPath, &header);
    fuzz::expect(check != BackupCheck::CannotOpen, "an existing backup file reported as unopenable");
    fuzz::expect(!packed || check == BackupCheck::Valid, "a file from the writer fails the check");
    fuzz::expect((check == BackupCheck::Valid) == backupCheckMessage(check, backupPath).empty(),
                 "check message does not match the check");

    std::int64_t lastDone = -1, lastTotal = -1;
    bool unpacked = false;
    try {
        unpackBackupFile(backupPath, databases, [&](std::int64_t done, std::int64_t total) {
            fuzz::expect(done >= 0 && done <= total, "progress outside 0 to total");
            fuzz::expect(done >= lastDone, "progress went back");
            fuzz::expect(lastTotal < 0 || total == lastTotal, "progress total changed");
            lastDone = done;
            lastTotal = total;
        });
        unpacked = true;
    } catch (const RestoreFailed&) {
    }

    fuzz::expect(!unpacked || check == BackupCheck::Valid, "a file that fails the check was unpacked");
    fuzz::expect(readAll(databases.prayersPath) == kPrayersContent, "the prayers database was changed");
    fuzz::expect(readAll(databases.plansPath) == kPlansContent, "the plans database was changed");
    const std::string prayersRestored = databases.prayersPath + ".restored";
    const std::string plansRestored = databases.plansPath + ".restored";
    if (unpacked) {
        fuzz::expect(checkRestoredImage(prayersRestored, databases.prayersTable), "unpacked prayers image not usable");
        fuzz::expect(checkRestoredImage(plansRestored, databases.plansTable), "unpacked plans image not usable");
        if (packed)
            fuzz::expect(std::int64_t(readAll(prayersRestored).size()) == header.prayersSize &&
                             std::int64_t(readAll(plansRestored).size()) == header.plansSize,
                         "unpacked images differ from what was packed");
    } else {
        fuzz::expect(!exists(prayersRestored) && !exists(plansRestored), "a failed unpack left an image behind");
    }
    fuzz::expect(!exists(databases.prayersPath + ".restore-commit"), "unpacking made a commit marker");
    fuzz::removeFile(prayersRestored);
    fuzz::removeFile(plansRestored);
    return 0;
}
