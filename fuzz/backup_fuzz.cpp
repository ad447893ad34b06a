// A backup file chosen for a restore: checked, then unpacked beside copies of
// the databases (everything a restore does before it replaces files). Damage
// of any kind must end in ERestoreFailed with no unpacked image left behind
// and the databases untouched.
#include "app/backup_file.h"
#include "fuzz_support.h"

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
    const std::string folder = fuzz::ScratchFolder();
    const std::string backupPath = folder + "input.kova2bak";
    TUserDatabases databases;
    databases.PrayersPath = folder + "prayers.kova2";
    databases.PlansPath = folder + "userreadplans.kova2";
    // The live databases are stand-ins: unpacking must not even read them.
    fuzz::WriteFile(databases.PrayersPath, kPrayersContent);
    fuzz::WriteFile(databases.PlansPath, kPlansContent);
    fuzz::WriteFile(backupPath, data, size);

    TBackupHeader header;
    const BackupCheck check = CheckBackupFile(backupPath, &header);
    fuzz::Expect(check != BackupCheck::CannotOpen, "an existing backup file reported as unopenable");
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
    const std::string prayersImage = databases.PrayersPath + ".restored";
    const std::string plansImage = databases.PlansPath + ".restored";
    if (unpacked) {
        fuzz::Expect(CheckRestoredImage(prayersImage, databases.PrayersTable), "unpacked prayers image not usable");
        fuzz::Expect(CheckRestoredImage(plansImage, databases.PlansTable), "unpacked plans image not usable");
    } else {
        fuzz::Expect(!Exists(prayersImage) && !Exists(plansImage), "a failed unpack left an image behind");
    }
    fuzz::Expect(!Exists(databases.PrayersPath + ".restore-commit"), "unpacking made a commit marker");
    fuzz::RemoveFile(prayersImage);
    fuzz::RemoveFile(plansImage);
    return 0;
}
