// A second process for the multi-process suites. Commands:
//   append FILE WHO COUNT   appends COUNT records (WHO, i, memo "WHO-i");
//                           exit status: the number of appends that failed
//   hold FILE MODE          opens FILE in sharing MODE, prints "ready", keeps
//                           it open until its standard input ends
//   open FILE MODE [ro]     tries to open FILE and prints the last error
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "recordstore/errors.h"
#include "recordstore/record_store.h"

namespace rs = qinghe::recordstore;

int main(int argc, char** argv) {
    if (argc < 4) return 100;
    std::string command = argv[1];
    std::string file = argv[2];
    if (command == "append") {
        int who = std::atoi(argv[3]);
        int count = argc > 4 ? std::atoi(argv[4]) : 0;
        if (!rs::openTable(file)) return 101;
        int failed = 0;
        for (int i = 0; i < count; ++i) {
            std::string memo = std::to_string(who) + "-" + std::to_string(i);
            if (!rs::appendRecord(
                    {rs::Value{std::int32_t{who}}, rs::Value{std::int32_t{i}}, rs::Value{memo}})) {
                std::fprintf(stderr, "append failed: %d\n", rs::lastError());
                ++failed;
            }
        }
        rs::closeTable();
        return failed;
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
