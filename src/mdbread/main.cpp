// fernquill-mdbread: reads one table of an Access database for Fernquill and
// writes its rows to standard output (platform/MdbWire.h).
//
//   fernquill-mdbread <absolute path> <table> <column>...
//
// Fernquill runs it for each read and gives it a few seconds: whatever a
// damaged file does to libmdb (a crash, an endless loop, a huge allocation)
// ends only this process.
#include "mdbread/MdbDump.h"
#include "platform/MdbWire.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CloseHandle
{
    void operator()(MdbHandle* h) const { mdb_close(h); }
};

void limit(int resource, rlim_t value)
{
    const rlimit l{value, value};
    setrlimit(resource, &l);
}

#if defined(__SANITIZE_ADDRESS__)
#define FQ_MDBREAD_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FQ_MDBREAD_ASAN 1
#endif
#endif

// No core file of a crash, no runaway loop, and (where no sanitizer reserves
// its shadow memory) no runaway allocation.
void limitSelf()
{
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_CPU, 10);
#ifndef FQ_MDBREAD_ASAN
    limit(RLIMIT_AS, rlim_t(1) << 30);
#endif
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    limitSelf();
    if (argc < 4 || argc - 3 > mdbwire::kMaxColumns || argv[1][0] != '/')
        return mdbwire::Usage;
    struct stat st = {};
    if (stat(argv[1], &st) != 0 || !S_ISREG(st.st_mode))
        return mdbwire::NotAFile;
    // libmdb's debug options, its output character set and its search path
    // come from the environment; the format wants UTF-8 and the path given.
    unsetenv("MDBOPTS");
    unsetenv("MDBICONV");
    unsetenv("MDBPATH");

    // The rows go to a copy of standard output; whatever libmdb prints goes
    // to standard error and cannot mix with them.
    const int out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (out < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return mdbwire::OutputFailed;

    const std::unique_ptr<MdbHandle, CloseHandle> mdb(mdb_open(argv[1], MDB_NOFLAGS));
    if (!mdb)
        return mdbwire::NotADatabase;
    const std::vector<std::string> columns(argv + 3, argv + argc);
    const int status = mdbread::dumpTable(mdb.get(), argv[2], columns,
                                          [out](std::string_view bytes) { return writeAll(out, bytes); });
    close(out);
    return status;
}
