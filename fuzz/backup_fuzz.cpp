// A backup file chosen for a restore: checked, then unpacked beside the
// databases (everything a restore does before it replaces files). Damage of
// any kind must end in ERestoreFailed with no unpacked image left behind and
// the databases untouched.
//
// Byte 0 of the input chooses what the rest is:
//   even  the backup file itself, byte for byte;
//   odd   two database images (bytes 1-2, little-endian, give the length of
//         the prayers image; the plans image is the rest). The program's own
//         writer packs them, so the unpacking gets past zlib's checksums to
//         the images; a file made that way must unpack to the same bytes
//         whenever both images are databases with the right tables.
#include "app/backup_file.h"
#include "fuzz_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kovara;

namespace {
const std::string kPrayersContent = "current prayers database";
const std::string kPlansContent = "current plans database";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string folder = fuzz::ScratchFolder();
    const std::string backupPath = folder + "input.kova2bak";
    TUserDatabases databases;
    databases.PrayersPath = folder + "prayers.kova2";
    databases.PlansPath = folder + "userreadplans.kova2";

    const bool packed = data[0] & 1;
    std::string prayersImage, plansImage;
    if (packed) {
        const std::size_t length = size >= 3 ? static_cast<std::size_t>(data[1] | (data[2] << 8)) : 0;
        const std::string rest(reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 3),
                               size - std::min<std::size_t>(size, 3));
        prayersImage = rest.substr(0, std::min(length, rest.size()));
        plansImage = rest.substr(prayersImage.size());
        fuzz::WriteFile(databases.PrayersPath, prayersImage);
        fuzz::WriteFile(databases.PlansPath, plansImage);
        WriteBackupFile(backupPath, databases, 45000.5);
    } else {
        fuzz::WriteFile(backupPath, data + 1, size - 1);
    }
    // The live databases are stand-ins: unpacking must not even read them.
    fuzz::WriteFile(databases.PrayersPath, kPrayersContent);
    fuzz::WriteFile(databases.PlansPath, kPlansContent);

    TBackupHeader header;
    const BackupCheck check = CheckBackupFile(backupPath, &header);
    fuzz::Expect(check != BackupCheck::CannotOpen, "an existing backup file reported as unopenable");
    fuzz::Expect(!packed || check == BackupCheck::Valid, "a file from the writer fails the check");
    fuzz::Expect((check == BackupCheck::Valid) == BackupCheckMessage(check, backupPath).empty(),
                 "check message does not match the check");

    std::int64_t lastDone = -1, lastTotal = -1;
    bool unpacked = false;
    try {
        UnpackBackupFile(backupPath, databases, [&](std::int64_t done, std::int64_t total) {
            fuzz::Expect(done >= 0 && done <= total, "progress outside 0 to total");
            fuzz::Expect(done >= lastDone, "progress went back");
            fuzz::Expect(lastTotal < 0 || total == lastTotal, "progress total changed");
            lastDone = done;
            lastTotal = total;
        });
        unpacked = true;
    } catch (const ERestoreFailed&) {
    }

    fuzz::Expect(!unpacked || check == BackupCheck::Valid, "a file that fails the check was unpacked");
    fuzz::Expect(ReadAll(databases.PrayersPath) == kPrayersContent, "the prayers database was changed");
    fuzz::Expect(ReadAll(databases.PlansPath) == kPlansContent, "the plans database was changed");
    const std::string prayersRestored = databases.PrayersPath + ".restored";
    const std::string plansRestored = databases.PlansPath + ".restored";
    if (unpacked) {
        fuzz::Expect(CheckRestoredImage(prayersRestored, databases.PrayersTable), "unpacked prayers image not usable");
        fuzz::Expect(CheckRestoredImage(plansRestored, databases.PlansTable), "unpacked plans image not usable");
        if (packed)
            fuzz::Expect(ReadAll(prayersRestored) == prayersImage && ReadAll(plansRestored) == plansImage,
                         "unpacked images differ from what was packed");
    } else {
        fuzz::Expect(!Exists(prayersRestored) && !Exists(plansRestored), "a failed unpack left an image behind");
    }
    fuzz::Expect(!Exists(databases.PrayersPath + ".restore-commit"), "unpacking made a commit marker");
    fuzz::RemoveFile(prayersRestored);
    fuzz::RemoveFile(plansRestored);
    return 0;
}
