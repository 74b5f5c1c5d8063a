// qinghe-cli table: create, inspect and change record-store tables.
#pragma once

#include <iosfwd>

#include "cli/command.h"

namespace qinghe::cli {

int runTable(Args args, std::ostream& out, std::ostream& err);

inline constexpr std::string_view kTableUsage =
    "create FILE NAME:TYPE[:SIZE]... | info FILE [--password P] [--read-only] | "
    "dump FILE [--password P] [--read-only] | append FILE [--password P] VALUE... | "
    "delete-last FILE [--password P] | pack FILE [--password P] | zap FILE [--password P] | "
    "sort FILE NEWFILE KEY[:desc]... [--password P] [--read-only] | "
    "copy FILE NEWFILE [--password P] [--read-only] | "
    "passwd FILE NEWPASSWORD [--password OLD] | check FILE [--password P]";

}  // namespace qinghe::cli
