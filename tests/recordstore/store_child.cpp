// A second process for the multi-process suites. Commands:
//   append FILE WHO COUNT [PASSWORD]
//                           appends COUNT records (WHO, i, memo "WHO-i");
//                           exit status: the number of appends that failed
//   hold FILE MODE          opens FILE in sharing MODE, prints "ready", keeps
//                           it open until its standard input ends
//   open FILE MODE [ro]     tries to open FILE and prints the last error
//   session FILE PASSWORD   opens FILE with PASSWORD, prints the last error,
//                           then runs one command a line from its standard
//                           input, printing the last error after each:
//                           "append WHO SEQ", "passwd NEW"
//   append-loop FILE ROUNDS EACH PASSWORD...
//                           ROUNDS times: opens FILE with the first of the
//                           passwords that opens it (trying again until one
//                           does), appends EACH records a millisecond apart
//                           (WHO = round, i, memo "round-i" for an even i,
//                           else none), closes, lets a few milliseconds
//                           pass; prints one line "round i" for each append
//                           that returned true
//   rekey-loop FILE ROUNDS PASSWORD...
//                           ROUNDS times: opens FILE with whichever password
//                           opens it and changes it to the next one in the
//                           list, then lets a few milliseconds pass; prints
//                           how many changes succeeded
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "recordstore/errors.h"
#include "recordstore/record_store.h"

namespace rs = qinghe::recordstore;

namespace {

constexpr int kOpenTries = 1000;
// Pauses between rounds, so that each loop finds the table closed now and
// then (a password change waits for the other's opens to close).
constexpr int kRekeyPauseMs = 3;
constexpr int kAppendPauseMs = 10;

bool appendOne(int who, int i, bool withMemo = true) {
    std::string memo = withMemo ? std::to_string(who) + "-" + std::to_string(i) : std::string();
    return rs::appendRecord(
        {rs::Value{std::int32_t{who}}, rs::Value{std::int32_t{i}}, rs::Value{memo}});
}

// Opens `file` with the first password that opens it; its index, or -1.
int openWithAny(const std::string& file, const std::vector<std::string>& passwords) {
    for (std::size_t i = 0; i < passwords.size(); ++i) {
        if (rs::openTable(file, {}, false, 1, passwords[i])) return static_cast<int>(i);
    }
    return -1;
}

int session(const std::string& file, const std::string& password) {
    rs::openTable(file, {}, false, 1, password);
    std::cout << rs::lastError() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "append") {
            int who = 0, seq = 0;
            words >> who >> seq;
            appendOne(who, seq);
        } else if (command == "passwd") {
            std::string next;
            words >> next;
            rs::setPassword(next);
        }
        std::cout << rs::lastError() << std::endl;
    }
    rs::closeTable();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 100;
    std::string command = argv[1];
    std::string file = argv[2];
    if (command == "append") {
        int who = std::atoi(argv[3]);
        int count = argc > 4 ? std::atoi(argv[4]) : 0;
        if (!rs::openTable(file, {}, false, 1, argc > 5 ? argv[5] : "")) return 101;
        int failed = 0;
        for (int i = 0; i < count; ++i) {
            if (!appendOne(who, i)) {
                std::fprintf(stderr, "append failed: %d\n", rs::lastError());
                ++failed;
            }
        }
        rs::closeTable();
        return failed;
    }
    if (command == "session") return session(file, argv[3]);
    if (command == "append-loop" || command == "rekey-loop") {
        bool appending = command == "append-loop";
        int rounds = std::atoi(argv[3]);
        int each = appending && argc > 4 ? std::atoi(argv[4]) : 0;
        std::vector<std::string> passwords(argv + (appending ? 5 : 4), argv + argc);
        if (passwords.empty()) return 100;
        int changed = 0;
        for (int round = 0; round < rounds; ++round) {
            int opened = openWithAny(file, passwords);
            // Waiting out another process's hold, not a table that no longer opens.
            auto held = [] {
                return rs::lastError() == rs::error::kSharingViolation ||
                       rs::lastError() == rs::error::kLockViolation;
            };
            for (int tries = 0; appending && opened < 0 && held() && tries < kOpenTries; ++tries) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                opened = openWithAny(file, passwords);
            }
            if (opened < 0) continue;
            for (int i = 0; i < each; ++i) {
                if (appendOne(round, i, i % 2 == 0)) {
                    std::cout << round << ' ' << i << '\n';
                } else {
                    std::cerr << "append failed: " << rs::lastError() << '\n';
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (!appending) {
                auto next = passwords[(static_cast<std::size_t>(opened) + 1) % passwords.size()];
                changed += rs::setPassword(next) ? 1 : 0;
            }
            rs::closeTable();
            std::this_thread::sleep_for(
                std::chrono::milliseconds(appending ? kAppendPauseMs : kRekeyPauseMs));
        }
        if (!appending) std::cout << changed << '\n';
        return 0;
    }
    int mode = std::atoi(argv[3]);
    bool readOnly = argc > 4 && std::string(argv[4]) == "ro";
    bool ok = rs::openTable(file, {}, readOnly, mode);
    if (command == "open") {
        std::cout << rs::lastError() << std::endl;
        return 0;
    }
    if (command == "hold") {
        std::cout << (ok ? "ready" : "failed") << std::endl;
        std::string line;
        while (std::getline(std::cin, line)) {
        }
        return ok ? 0 : 1;
    }
    return 100;
}
