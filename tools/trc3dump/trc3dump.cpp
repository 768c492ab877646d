// Prints a trace file for support staff: the header lines, then every record in file order
// with its thread ID, type and deciphered text. Exit status: 0 when the file read completely,
// 1 when its last record is cut short (everything before it is printed), 2 when it cannot be
// read or is no trace file.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/trace/trace_dump.h"
#include "core/trace/trace_file_reader.h"

namespace {

constexpr int kTruncated = 1;
constexpr int kFailure = 2;

int Dump(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "trc3dump: cannot open %s\n", path.string().c_str());
        return kFailure;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const core::TraceFile file = core::ReadTraceFile(bytes);
    if (file.status == core::TraceFileStatus::NotATraceFile ||
        file.status == core::TraceFileStatus::UnterminatedHeader) {
        std::fprintf(stderr, "trc3dump: %s\n", core::TraceFileProblem(file).c_str());
        return kFailure;
    }
    for (const std::string& line : file.header) std::printf("%s\n", line.c_str());
    for (const core::TraceRecord& record : file.records)
        std::printf("%s\n", core::TraceRecordLine(record).c_str());
    if (file.status == core::TraceFileStatus::Complete) return 0;
    std::printf("%s\n", core::TraceFileProblem(file).c_str());
    return kTruncated;
}

template <class Char>
int Run(int argc, Char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trc3dump <file.trc3>\n");
        return kFailure;
    }
    try {
        return Dump(std::filesystem::path(argv[1]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "trc3dump: %s\n", error.what());
        return kFailure;
    }
}

}  // namespace

#ifdef _WIN32
// Wide arguments, so that any path the trace library can write can be named here.
int wmain(int argc, wchar_t** argv) {
    return Run(argc, argv);
}
#else
int main(int argc, char** argv) {
    return Run(argc, argv);
}
#endif
