#include "program_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ProgramResult runMapbench(const std::string& arguments, const std::string& prefix) {
    char errorPath[] = "/tmp/mapbench-stderr-XXXXXX";
    const int errorFile = mkstemp(errorPath);
    close(errorFile);
    const std::string command =
        prefix + " exec '" MAPBENCH_EXECUTABLE "' " + arguments + " 2>" + errorPath;
    ProgramResult result{"", "", -1};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.err = readFile(errorPath);
    std::remove(errorPath);
    return result;
}

std::string maskDurations(const std::string& output) {
    static const std::string number = "-?[0-9]+(\\.[0-9]+)?(e[-+][0-9]+)?";
    static const std::regex timeLine("(Time for iter random [a-z ]+: )" + number + " seconds");
    static const std::regex summaryLine(number + ", " + number);
    std::istringstream lines(std::regex_replace(output, timeLine, "$1# seconds"));
    std::string masked;
    std::string line;
    while (std::getline(lines, line)) {
        masked += std::regex_match(line, summaryLine) ? "#, #" : line;
        masked += lines.eof() ? "" : "\n";
    }
    return masked;
}
