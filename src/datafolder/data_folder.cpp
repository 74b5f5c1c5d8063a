#include "datafolder/data_folder.h"

#include <cerrno>
#include <cstdint>
#include <span>

#include "common/gbk.h"
#include "platform/paths.h"
#include "platform/rooted_file_system.h"
#include "platform/temporary_files.h"
#include "platform/whole_file.h"
#include "recordstore/names.h"
#include "recordstore/record_store.h"

namespace qinghe::datafolder {
namespace {

// The names on disk (UTF-8).
constexpr std::string_view kTableExtension = ".EDB";
constexpr std::string_view kBackupFolder = "数据库备份";
constexpr std::string_view kBackupFile = "加班备份.edb";
constexpr std::string_view kPayRecordBackupFile = "工资记录备份.edb";
constexpr std::string_view kSettingsFile = "配置项目.ini";

}  // namespace

struct DataFolder::OwnStore {
    explicit OwnStore(const std::string& path) : files(path), store(files) {}
    platform::RootedFileSystem files;
    recordstore::Registry store;
};

DataFolder::DataFolder(const std::string& path)
    : own_(std::make_shared<OwnStore>(path)),
      path_(own_->files.currentDirectory()),
      store_(&own_->store),
      files_(&own_->files) {}

DataFolder::DataFolder(std::string path, recordstore::Registry& store, platform::FileSystem& files)
    : path_(std::move(path)), store_(&store), files_(&files) {}

journal::JournalAccess DataFolder::journal(std::string password) const {
    return {*store_, *files_, path_, std::move(password)};
}

void DataFolder::setPasswordPrompt(recordstore::PasswordPrompt* prompt) const {
    store_->setPasswordPrompt(prompt);
}

std::vector<std::string> DataFolder::takeDroppedRecordNotices() const {
    using namespace literals;
    std::vector<std::string> notices;
    for (const recordstore::DroppedRecords& dropped : store_->takeDroppedRecords()) {
        for (const FolderTable& table : kFolderTables) {
            const std::string file = recordstore::tableFileOnDisk(*files_, tableFile(table.name));
            if (!platform::samePath(dropped.path, file)) continue;
            const std::string how =
                dropped.records == 1 ? "一"_gbk : std::to_string(dropped.records);
            notices.push_back(std::string(table.shownName) + "的最后"_gbk + how +
                              "条不完整，已去掉"_gbk);
        }
    }
    return notices;
}

std::string DataFolder::tableFile(std::string_view gbkName) const {
    const std::string name = gbk::toUtf8(gbkName) + std::string(kTableExtension);
    return platform::resolveIgnoringCase(*files_, platform::childPath(path_, name));
}

bool DataFolder::journalExists() const {
    platform::FileStatus status;
    return files_->status(tableFile(journal::kTableName), status) != -ENOENT;
}

std::string DataFolder::backupFolder() const {
    return platform::resolveIgnoringCase(*files_, platform::childPath(path_, kBackupFolder));
}

std::string DataFolder::backupFile() const {
    return platform::resolveIgnoringCase(*files_, platform::childPath(backupFolder(), kBackupFile));
}

std::string DataFolder::payRecordBackupFile() const {
    return platform::resolveIgnoringCase(*files_,
                                         platform::childPath(backupFolder(), kPayRecordBackupFile));
}

std::string DataFolder::settingsFile() const {
    return platform::resolveIgnoringCase(*files_, platform::childPath(path_, kSettingsFile));
}

SettingsRead DataFolder::readSettings(std::string& bytes) const {
    switch (platform::readWhole(*files_, settingsFile(), kMaxSettingsBytes, bytes)) {
        case 0:
            return SettingsRead::Read;
        case -ENOENT:
            return SettingsRead::Missing;
        case -EFBIG:
            return SettingsRead::TooLarge;
        default:
            return SettingsRead::Unreadable;
    }
}

bool DataFolder::writeSettings(std::string_view bytes) const {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return platform::writeReplacing(*files_, settingsFile(), {data, bytes.size()}).ok();
}

std::string DataFolder::arrangementsFile() const {
    return platform::resolveIgnoringCase(*files_,
                                         platform::childPath(path_, kArrangementsFileName));
}

int DataFolder::readArrangements(std::string& bytes) const {
    return platform::readWhole(*files_, arrangementsFile(), kMaxArrangementsFileBytes, bytes);
}

std::string DataFolder::cityFiguresFile() const {
    return platform::resolveIgnoringCase(*files_, platform::childPath(path_, kCityFiguresFileName));
}

int DataFolder::readCityFigures(std::string& bytes) const {
    return platform::readWhole(*files_, cityFiguresFile(), kMaxCityFiguresFileBytes, bytes);
}

std::string DataFolder::callersPath(const std::string& path) const {
    // The process's current directory, also when the folder's file system is
    // rooted at the folder.
    const std::string caller =
        own_ ? platform::posixFileSystem().currentDirectory() : files_->currentDirectory();
    return platform::absolutePath(path, caller);
}

bool DataFolder::isOwnFile(const std::string& path) const {
    const std::string here = files_->currentDirectory();
    // Where a path leads: its last link's target, made absolute.
    auto place = [&](const std::string& p) {
        std::string target;
        if (platform::followLinks(*files_, p, target) < 0) target = p;
        return platform::absolutePath(target, here);
    };
    const std::string wanted = place(callersPath(path));
    const std::string wantedName = platform::lastComponent(wanted);
    platform::FileStatus wantedStatus;
    const bool wantedExists = files_->status(wanted, wantedStatus) == 0;
    platform::FileStatus wantedFolder;
    const bool folderExists = files_->status(platform::directoryOf(wanted), wantedFolder) == 0;
    // Whether `file` lies in the folder of `wanted`, by its path or as the same folder.
    auto besideWanted = [&](const std::string& file) {
        const std::string folder = platform::directoryOf(file);
        platform::FileStatus status;
        return platform::samePath(folder, platform::directoryOf(wanted)) ||
               (folderExists && files_->status(folder, status) == 0 &&
                status.id == wantedFolder.id);
    };
    // Whether `wanted` is `file` under another name (a hard link).
    auto sameFile = [&](const std::string& file) {
        platform::FileStatus status;
        return wantedExists && files_->status(file, status) == 0 && status.id == wantedStatus.id;
    };
    // The tables: every name of their files, beside the name that reaches
    // them and beside the file itself.
    std::vector<std::string> tables = {backupFile(), payRecordBackupFile()};
    for (const FolderTable& table : kFolderTables) tables.push_back(tableFile(table.name));
    for (const std::string& table : tables) {
        for (const std::string& at : {table, place(table)}) {
            if (besideWanted(at) &&
                recordstore::isFileNameOfTable(wantedName, platform::lastComponent(at))) {
                return true;
            }
        }
        if (sameFile(table)) return true;
    }
    // The other files: their names and their temporaries' (platform/whole_file.h).
    for (const std::string& file : {settingsFile(), arrangementsFile()}) {
        const std::string at = place(file);
        const std::string name = platform::lastComponent(at);
        if (besideWanted(at) &&
            (platform::samePath(wantedName, name) || platform::isTemporaryOf(wantedName, name))) {
            return true;
        }
        if (sameFile(file)) return true;
    }
    return false;
}

WrittenOutside DataFolder::writeOutside(const std::string& given, std::string_view bytes) const {
    if (isOwnFile(given)) return {OutsideRefusal::OwnFile, 0};
    const std::string path = callersPath(given);
    if (recordstore::fileMagicAt(*files_, path) != recordstore::FileMagic::None) {
        return {OutsideRefusal::TableFile, 0};
    }
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    platform::FileStatus status;
    const bool stream =
        files_->status(path, status) == 0 && status.kind != platform::FileKind::Regular;
    return {OutsideRefusal::None, stream ? files_->writeStream(path, data)
                                         : platform::writeReplacing(*files_, path, data).error};
}

}  // namespace qinghe::datafolder
