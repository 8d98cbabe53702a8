#pragma once
// The most memory the process has held so far, in MB (VmHWM).
#include <fstream>
#include <string>

inline double peakMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
