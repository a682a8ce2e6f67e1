#pragma once

#include <fstream>
#include <string>
#include <sys/utsname.h>
#include <thread>

// One line about the machine a benchmark ran on: CPU model, cores, kernel.
inline std::string machineDescription() {
    std::string model = "unknown CPU";
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    utsname u{};
    uname(&u);
    return model + ", " + std::to_string(std::thread::hardware_concurrency()) + " cores, " +
           u.sysname + " " + u.release;
}
