// ztrec: reads and writes the suite's encrypted files where the suite cannot run, natively
// and as a Windows console program. See --help and the manual page.
#include <optional>
#include <vector>

#include "operations.h"
#include "options.h"
#include "password_source.h"
#include "platform.h"
#include "tally.h"
#include "texts.h"
#include "walk.h"

namespace ztrec {
namespace {

constexpr int kNothingDone = 2;

FileOperation OperationFor(const Options& options, Keys* keys) {
    switch (options.command) {
        case Command::Decrypt:
            return [&options, keys](const Path& path) { return DecryptFile(path, *keys, options.keep); };
        case Command::Encrypt:
            return [&options, keys](const Path& path) {
                return EncryptFile(path, *keys, options.wipe, options.format.value_or(Format::Zte));
            };
        case Command::Upgrade:
            return [keys](const Path& path) { return UpgradeFile(path, *keys); };
        default:
            return [keys](const Path& path) { return ShowInfo(path, keys); };
    }
}

int Fail(const std::string& message) {
    Write(Stream::Err, "ztrec: " + message + '\n');
    return kNothingDone;
}

int Work(const Options& options) {
    WatchInterrupts();
    Tally tally(options);
    Batch batch(tally);
    try {
        std::optional<Keys> keys;
        if (NeedsPassword(options)) keys.emplace(ObtainPassword(options));
        const FileOperation operation = OperationFor(options, keys ? &*keys : nullptr);
        for (const Path& path : options.paths) Walk(path, operation, batch);
    } catch (const PasswordError& error) {
        return Fail(error.message);
    } catch (const Interruption&) {
        tally.Interrupt();
    }
    // Files already written are finished, also after an interrupt: it takes a moment, and a
    // second interrupt still ends ztrec at once.
    batch.Finish();
    Write(Stream::Err, tally.Summary());
    return tally.ExitStatus();
}

int Run(const std::vector<Path>& args) {
    try {
        const Options options = ParseOptions(args);
        if (options.help) Write(Stream::Out, texts::Help());
        if (options.version) Write(Stream::Out, texts::Version());
        return options.help || options.version ? 0 : Work(options);
    } catch (const UsageError& error) {
        return Fail(error.message + '\n' + texts::UsageHint());
    } catch (...) {
        return Fail(DescribeFailure(std::current_exception()));
    }
}

}  // namespace
}  // namespace ztrec

#ifdef _WIN32
// Wide arguments, so that any file name can be named.
int wmain(int argc, wchar_t** argv) {
    return ztrec::Run(std::vector<ztrec::Path>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    return ztrec::Run(std::vector<ztrec::Path>(argv + 1, argv + argc));
}
#endif
