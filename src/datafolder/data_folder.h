// The data folder: the one door through which the window and qinghe-cli
// reach the files that hold a person's pay.
//
// What lies in it (found without regard to the letter case of the names):
//   加班.EDB                    the journal (journal/journal_table.h)
//   工资记录.EDB                the pay record (payrecord/pay_record.h), from
//                               its first row on
//   数据库备份/加班备份.edb      the journal's daily backup (backup.h)
//   数据库备份/工资记录备份.edb  the pay record's, beside it
//   配置项目.ini                the settings file: the pay form's last inputs
//   放假安排.txt                the person's announced arrangements
//                               (arrangements_file.h), read only
//   城市参数.txt                the person's city figures
//                               (city_figures_file.h), read only
// and, for a moment, the temporaries of whoever is replacing one of them.
// Every table of the folder (kFolderTables) is opened with one password, the
// folder's, which changes for all of them at once (password.h).
//
// The door says where each file lives and whether the journal exists, reads
// and writes the settings file's bytes, hands the journal's operations their
// access, and tells the folder's own files from any other path. Files go
// through the platform's seam (platform/file_system.h): a FIFO or a device in
// a file's place is refused at once, replacements keep the replaced file's
// mode and its link, new files are private.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_access.h"
#include "journal/journal_table.h"
#include "payrecord/pay_record.h"
#include "platform/file_system.h"

namespace qinghe::datafolder {

// A table of the data folder. The journal is there from the first run; a
// table that the folder gains later is made when it is first needed, and
// what is done to every table passes over it while it is missing.
struct FolderTable {
    std::string_view name;  // GBK; the record store adds ".EDB"
    bool fromFirstRun;
    std::string_view shownName;  // GBK: the table as the person's messages name it
};
inline constexpr FolderTable kFolderTables[] = {
    {journal::kTableName, true, "\xBC\xD3\xB0\xE0\xBC\xC7\xC2\xBC"},  // 加班记录
    {payrecord::kTableName, false, payrecord::kTableName},            // 工资记录
};

// The entry of kFolderTables whose name is `name` (one of theirs).
constexpr const FolderTable& folderTable(std::string_view name) {
    for (const FolderTable& table : kFolderTables) {
        if (table.name == name) return table;
    }
    return kFolderTables[0];
}

// The most a settings file may hold: it keeps nineteen short values.
inline constexpr std::size_t kMaxSettingsBytes = std::size_t{4} << 20;
// The arrangements file's name on disk (UTF-8), and the most it may hold.
inline constexpr char kArrangementsFileName[] = "放假安排.txt";
inline constexpr std::size_t kMaxArrangementsFileBytes = std::size_t{1} << 20;
// The city figures file's name on disk (UTF-8), and the most it may hold: as
// much as the arrangements file.
inline constexpr char kCityFiguresFileName[] = "城市参数.txt";
inline constexpr std::size_t kMaxCityFiguresFileBytes = kMaxArrangementsFileBytes;

// Why writeOutside wrote nothing.
enum class OutsideRefusal {
    None,
    OwnFile,    // the path is one of the folder's own files (isOwnFile)
    TableFile,  // the file there is a table file or a side file of one
};

// What writeOutside did: nothing when it refused the path, otherwise 0 or
// the file error (-errno) in `error`.
struct WrittenOutside {
    OutsideRefusal refused = OutsideRefusal::None;
    int error = 0;
    bool ok() const { return refused == OutsideRefusal::None && error == 0; }
};

enum class SettingsRead {
    Read,        // the file's bytes
    Missing,     // no file: the defaults hold
    TooLarge,    // more than kMaxSettingsBytes: not read, and never replaced
    Unreadable,  // there, but it cannot be read (a FIFO, no permission, a failing disk)
};

class DataFolder {
  public:
    // The folder at `path` (UTF-8), reached through a record store of its
    // own over the machine's file system rooted at the folder
    // (platform/rooted_file_system.h): the folder's path may hold any
    // character; only the names inside it need a GBK form. A relative
    // `path` is made absolute against the current directory, once. Copies
    // share that record store.
    explicit DataFolder(const std::string& path);
    // The same through `store` and the file system under it (tests put a
    // failing one in).
    DataFolder(std::string path, recordstore::Registry& store, platform::FileSystem& files);

    const std::string& path() const { return path_; }

    // The journal with the password `password` (GBK), as the journal's
    // operations take it. The access reaches the folder's record store:
    // the folder (or a copy of it) must outlive it.
    journal::JournalAccess journal(std::string password) const;
    // The dialog that a password "?" asks through (qinghe-cli's terminal).
    void setPasswordPrompt(recordstore::PasswordPrompt* prompt) const;

    // What the person is to be told of the folder's tables that opens cut
    // back since the last call (recordstore::DroppedRecords: a count that
    // passed the records there, from a copy or a restore cut short), a GBK
    // text each, the table's shown name first: "加班记录的最后一条不完整，已去掉",
    // "工资记录的最后一条不完整，已去掉", or for more than one record
    // "加班记录的最后3条不完整，已去掉".
    std::vector<std::string> takeDroppedRecordNotices() const;

    // The main file of the folder's table `gbkName` on disk.
    std::string tableFile(std::string_view gbkName) const;
    // Whether the journal's file is there. A file that is there but cannot
    // be opened (another program's, a FIFO) counts as there: nothing is ever
    // created over it.
    bool journalExists() const;

    std::string backupFolder() const;
    std::string backupFile() const;
    std::string payRecordBackupFile() const;

    std::string settingsFile() const;
    // The settings file's bytes into `bytes` (GBK text) when it can be read.
    SettingsRead readSettings(std::string& bytes) const;
    // Replaces the settings file with `bytes`; false when it could not (the
    // old file is then as it was).
    bool writeSettings(std::string_view bytes) const;

    std::string arrangementsFile() const;
    // The arrangements file's bytes: 0, -ENOENT when there is none, -EFBIG
    // beyond kMaxArrangementsFileBytes, or the file error.
    int readArrangements(std::string& bytes) const;

    std::string cityFiguresFile() const;
    // The city figures file's bytes, as readArrangements reads its file, with
    // the bound kMaxCityFiguresFileBytes.
    int readCityFigures(std::string& bytes) const;

    // True when `path` (UTF-8, relative to the current directory) names one
    // of the folder's own files -- a table or a backup, with every name its
    // side files may take (the auxiliary file, the undo log, temporaries:
    // recordstore/names.h), the settings file, the arrangements file or a
    // temporary of either -- in any letter case, through symbolic links, by
    // another path to the same folder, or as another name (a hard link) of
    // the same file.
    bool isOwnFile(const std::string& path) const;

    // Writes `bytes` into `path` (UTF-8), a file the person names for an
    // export or a picture: into a FIFO, a terminal or a device as it is, any
    // other file replaced whole (platform/whole_file.h). Never into one of
    // the folder's own files (isOwnFile), and never over a file that is, by
    // its content, a table file or a side file of one, wherever it lies (a
    // table of another folder, its undo log).
    WrittenOutside writeOutside(const std::string& path, std::string_view bytes) const;

  private:
    struct OwnStore;  // the record store and file system of DataFolder(path)

    // `path` (a caller's: relative to the process's current directory, not
    // to the folder's own file system) made absolute.
    std::string callersPath(const std::string& path) const;

    std::shared_ptr<OwnStore> own_;
    std::string path_;
    recordstore::Registry* store_;
    platform::FileSystem* files_;
};

}  // namespace qinghe::datafolder
