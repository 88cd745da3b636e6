// Files that never end, never open or are far too large, named where a reader meets them: each
// read ends within a second with the file's name and a reason, and memory grows by no more than
// the reader's stated limit. The command line still reads a pipe it is given by name.
#include "candidate_file.hpp"
#include "map_file.hpp"
#include "run.hpp"
#include "run_log.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The process's peak resident memory so far, in MB.
long peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6)) / 1024;
    return 0;
}

struct Outcome {
    std::string error; // empty when it was read
    double seconds;
    long grownMegabytes;
};

Outcome timed(const std::function<std::string()>& read) {
    const long before = peakMegabytes();
    const auto start = std::chrono::steady_clock::now();
    std::string error = read();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {error, took.count(), peakMegabytes() - before};
}

class EndlessFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vx-endless-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "folder");
        ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0); // no writer: open() would wait
        std::ofstream(dir_ / "sparse").close();
        fs::resize_file(dir_ / "sparse", std::uintmax_t{2} << 30); // 2 GB of holes
        std::ofstream(dir_ / "long-line") << std::string(std::size_t{1} << 17, 'a') << '\n';
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(EndlessFiles, EveryReaderRefusesWithTheNameAndAReason) {
    // Each reads the file it is given and says what it named it as.
    using Reader = std::function<std::string(const fs::path&, fs::path&)>;
    const fs::path link = dir_ / "export.csv";
    const struct {
        const char* what;
        Reader read;
    } readers[] = {
        {"map",
         [](const fs::path& f, fs::path&) {
             const auto r = compmap::loadMap(f);
             return r.error ? r.error->text() : "";
         }},
        {"digitizer csv",
         [&link](const fs::path& f, fs::path& named) {
             // The reader goes by the name's ending; a link gives the file that ending.
             fs::create_symlink(f, link);
             named = link;
             const auto r = compmap::loadMap(link);
             fs::remove(link);
             return r.error ? r.error->text() : "";
         }},
        {"run log",
         [](const fs::path& f, fs::path&) {
             const auto r = runs::loadRunLog(f.string());
             const auto* e = std::get_if<runs::RunLogError>(&r);
             return e ? e->text() : "";
         }},
        {"candidates",
         [](const fs::path& f, fs::path&) {
             const auto r = explorer::loadCandidates(f);
             return r.error ? r.error->text() : "";
         }},
    };
    const struct {
        std::string file;
        const char* says; // a part of the reason
    } sources[] = {
        {"/dev/zero", "device, pipe or socket"},     {(dir_ / "fifo").string(), "device, pipe"},
        {(dir_ / "folder").string(), "folder"},      {"/dev/null", "device, pipe"},
        {(dir_ / "sparse").string(), "larger than"},
    };
    for (const auto& reader : readers)
        for (const auto& source : sources) {
            SCOPED_TRACE(std::string(reader.what) + " from " + source.file);
            fs::path named = source.file;
            const auto o = timed([&] { return reader.read(source.file, named); });
            EXPECT_NE(o.error.find(named.string()), std::string::npos) << o.error;
            EXPECT_NE(o.error.find(source.says), std::string::npos) << o.error;
            EXPECT_LT(o.seconds, 1.0);
            EXPECT_LT(o.grownMegabytes, 8);
        }
    // A line far longer than any map's.
    const auto longLine = compmap::loadMap(dir_ / "long-line");
    ASSERT_TRUE(longLine.error);
    EXPECT_NE(longLine.error->text().find("line longer than"), std::string::npos);
}

int calc(std::vector<std::string> args, std::string* err) {
    std::vector<const char*> argv{"vorlaxen-calc"};
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::istringstream in;
    std::ostringstream out, errors;
    const int status = cli::run(static_cast<int>(argv.size()), argv.data(), in, out, errors);
    *err = errors.str();
    return status;
}

TEST_F(EndlessFiles, TheCommandLineReadsPipesItIsGivenButNotThoseAFileNames) {
    // --map /dev/zero is read as a stream, up to the map's limit, then refused.
    std::string err;
    const auto zero = timed([&] {
        EXPECT_EQ(calc({"cycle", "--map", "/dev/zero"}, &err), 2);
        return err;
    });
    EXPECT_NE(zero.error.find("/dev/zero"), std::string::npos) << zero.error;
    EXPECT_NE(zero.error.find("larger than 16 MB"), std::string::npos) << zero.error;
    EXPECT_LT(zero.seconds, 1.0);
    // The limit, its copy into a stream and a line, with room for the sanitizers' allocator,
    // which keeps freed blocks a while; an unbounded read would pass 800 MB.
    EXPECT_LT(zero.grownMegabytes, 4 * 16 + 8);

    // A FIFO named in a candidates file's map column is refused without waiting for a writer.
    std::ofstream(dir_ / "candidates.csv") << "name,map\nA,fifo\n";
    const auto column = timed([&] {
        EXPECT_EQ(calc({"engine", "--input", (dir_ / "candidates.csv").string()}, &err), 2);
        return err;
    });
    EXPECT_NE(column.error.find("fifo: is not a file"), std::string::npos) << column.error;
    EXPECT_LT(column.seconds, 1.0);

    // The same FIFO given to --map, with a writer, is read as any Unix tool reads it.
    std::thread writer(
        [fifo = dir_ / "fifo"] { std::ofstream(fifo) << "surge\n10 1.2\n20 2\nend\n"; });
    const int status = calc({"cycle", "--map", (dir_ / "fifo").string()}, &err);
    writer.join();
    EXPECT_EQ(status, 0) << err;
}

} // namespace
