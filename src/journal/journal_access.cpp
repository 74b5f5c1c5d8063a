#include "journal/journal_access.h"

#include <optional>
#include <vector>

#include "common/gbk.h"
#include "platform/paths.h"
#include "recordstore/errors.h"
#include "recordstore/names.h"

namespace qinghe::journal {
namespace rs = qinghe::recordstore;

namespace {

// The record store's code for a field of another type than asked for; the
// record store itself never reports it to the journal's operations.
constexpr int kFieldTypeWrong = -70;  // "字段类型错误"
// matchFields's own mark of fields beyond the journal's: reported as -70
// with a message that says what is wrong.
constexpr int kExtraFields = 1;

StoreError errorOf(int code) {
    return {code, rs::errorMessage(code), false};
}

// A table with the journal's fields and more: another program's journal,
// which this one must not append to with fields left empty.
StoreError extraFieldsError() {
    using namespace literals;
    return {kFieldTypeWrong, "加班记录的字段与本程序不符"_gbk, false};
}

// Finds each journal field in the table by name and type and notes its
// number (1-based); 0 when every field is there and there are no others,
// else the code of the first fault (kExtraFields for fields beyond them).
int matchFields(const rs::TableInfo& info, std::array<int, kFieldCount>& numbers) {
    for (int f = 1; f <= kFieldCount; ++f) {
        const rs::FieldSpec& wanted = fieldSpec(static_cast<Field>(f));
        int found = 0;
        for (std::size_t i = 0; i < info.fields.size() && found == 0; ++i) {
            if (rs::sameName(info.fields[i].name, wanted.name)) found = static_cast<int>(i) + 1;
        }
        numbers[static_cast<std::size_t>(f) - 1] = found;
        if (found == 0) return rs::error::kNoSuchField;
        if (static_cast<int>(info.fields[static_cast<std::size_t>(found) - 1].type) !=
            wanted.type) {
            return kFieldTypeWrong;
        }
    }
    // Fields beyond the journal's ten.
    return info.fields.size() == kFieldCount ? 0 : kExtraFields;
}

}  // namespace

StoreError lastStoreError() {
    return errorOf(rs::lastError());
}

std::string storePath(platform::FileSystem& fs, const std::string& utf8Path) {
    const std::string here = platform::absolutePath(".", fs.currentDirectory());
    const std::string path = platform::absolutePath(utf8Path, here);
    std::string_view named = path;
    if (here == "/") {
        named.remove_prefix(1);
    } else if (named.starts_with(here) && named.size() > here.size() && named[here.size()] == '/') {
        named.remove_prefix(here.size() + 1);
    }
    // The record store reads "\\" as a separator: such a path would name
    // another file.
    if (named.find('\\') != std::string_view::npos) return {};
    const gbk::Conversion gbkPath = gbk::fromUtf8(named);
    return gbkPath.ok ? gbkPath.text : std::string();
}

std::string tablePathIn(platform::FileSystem& fs, const std::string& directory,
                        std::string_view gbkName) {
    return storePath(fs, platform::childPath(directory, gbk::toUtf8(gbkName)));
}

OpenJournal::OpenJournal(const JournalAccess& access, OpenMode mode)
    : store_(access.store), fs_(access.fs) {
    const std::string table = tablePathIn(access.fs, access.directory, kTableName);
    if (table.empty()) {
        error_ = errorOf(rs::error::kBadPath);
    } else if (!openStoreTable(store_, table, mode, access.password)) {
        error_ = lastStoreError();
    } else if (const std::optional<rs::TableInfo> info = store_.currentTableInfo(); !info) {
        error_ = lastStoreError();
        store_.closeTable();
    } else {
        if (const int fault = matchFields(*info, numbers_); fault != 0) {
            error_ = fault == kExtraFields ? extraFieldsError() : errorOf(fault);
            store_.closeTable();
        } else {
            open_ = true;
        }
    }
    error_.opening = !open_;
}

bool openStoreTable(rs::Registry& store, const std::string& table, OpenMode mode,
                    const std::string& password) {
    const bool readOnly = mode == OpenMode::ReadOnly;
    const int sharing = mode == OpenMode::Exclusive ? 4 : 1;
    if (store.openTable(table, {}, readOnly, sharing, password)) return true;
    const int code = rs::lastError();
    if (!readOnly || (code != rs::error::kOpenFailed && code != rs::error::kFileSizeWrong &&
                      code != rs::error::kAuxDamaged)) {
        return false;
    }
    // One open for writing finishes the interrupted change, or cuts what a
    // copy cut short left (the record store notes the records it drops), as
    // every writing operation would.
    if (store.openTable(table, {}, false, sharing, password)) store.closeTable();
    return store.openTable(table, {}, true, sharing, password);
}

OpenJournal::~OpenJournal() {
    if (open_) store_.closeTable();
}

bool OpenJournal::fail() {
    error_ = lastStoreError();
    return false;
}

bool OpenJournal::count(int& n) {
    n = store_.recordCount();
    return rs::lastError() == rs::error::kOk || fail();
}

bool OpenJournal::read(JournalRecord& record) {
    if (!readDate(record.date) || !readIntegers(record)) return false;
    for (const TextField& f : kTextFields) {
        record.*f.member = std::get<std::string>(store_.readField(number(f.field)));
        if (rs::lastError() != rs::error::kOk) return fail();
    }
    return true;
}

bool OpenJournal::readIntegers(JournalRecord& record) {
    for (const IntegerField& f : kIntegerFields) {
        record.*f.member = std::get<std::int32_t>(store_.readField(number(f.field)));
        if (rs::lastError() != rs::error::kOk) return fail();
    }
    return true;
}

bool OpenJournal::readDate(DateTime& date) {
    date = std::get<rs::Timestamp>(store_.readField(number(Field::Date))).days;
    return rs::lastError() == rs::error::kOk || fail();
}

bool OpenJournal::next() {
    return store_.skip() || fail();
}

bool OpenJournal::goLast() {
    return store_.goLast() || fail();
}

bool OpenJournal::append(const JournalRecord& record) {
    int fields = 0;
    for (int n : numbers_) fields = std::max(fields, n);
    std::vector<std::optional<rs::Value>> values(static_cast<std::size_t>(fields));
    auto at = [&](Field f) -> std::optional<rs::Value>& {
        return values[static_cast<std::size_t>(number(f)) - 1];
    };
    at(Field::Date) = rs::Value{rs::Timestamp{record.date}};
    for (const IntegerField& f : kIntegerFields) at(f.field) = rs::Value{record.*f.member};
    for (const TextField& f : kTextFields) at(f.field) = rs::Value{record.*f.member};
    return store_.appendRecord(values) || fail();
}

bool OpenJournal::setPassword(std::string_view password) {
    return step(store_.setPassword(password));
}

bool OpenJournal::removeCurrent() {
    return step(store_.removeCurrent());
}

bool OpenJournal::removeAll() {
    return step(store_.zap());
}

bool OpenJournal::sortByDate() {
    const std::optional<rs::TableInfo> info = store_.currentTableInfo();
    if (!info) return fail();
    const std::string self = storePath(fs_, info->path);
    if (self.empty()) {
        error_ = errorOf(rs::error::kBadPath);
        return false;
    }
    const std::vector<std::string> key = {fieldSpec(Field::Date).name};
    if (!step(store_.sortInto(self, key))) return false;
    open_ = false;  // the record store closed it: its file is the sorted table's now
    return true;
}

bool OpenJournal::copyTo(const std::string& gbkTablePath) {
    return step(store_.copyInto(gbkTablePath));
}

}  // namespace qinghe::journal
