// end_before_moves encrypt|decrypt SECRET-HEX FOLDER: runs the program's engine over the
// folder as a user's run does, and ends the process at once, as a kill would, at the instant
// a batch of several files has flushed its outputs and is about to move the first into place.
// Prints "ended" just before; exits 2 when the run never reaches that instant.
#include <windows.h>

#include <cstdio>
#include <string>

#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "tests/support/every_file_walk.h"
#include "tests/tools/hex.h"
#include "win/com_apartment.h"

namespace {

// A run nobody watches: every risky file is encrypted, nothing is cancelled.
class Unwatched final : public IRunObserver {
public:
    void SetTotal(std::uint64_t) override {}
    void BeginFile(const std::wstring&) override {}
    void Advance(std::uint64_t) override {}
    void SkipFile(const std::wstring&) override {}
    bool IsCancelled() const override { return false; }
    ConfirmAnswer Confirm(const std::wstring&) override { return kAnswerYesToAll; }
    void AddEntry(UINT, const std::wstring&, HRESULT) override {}
    void Finish(int, std::u16string_view, UINT) override {}
};

template <class Engine>
class EndingBeforeMoves : public Engine {
public:
    using Engine::Engine;

protected:
    void WriteOutput() override {
        Engine::WriteOutput();
        ++written_;
    }
    // A batch's first move comes after all of its outputs were written and flushed.
    void MoveOutputIntoPlace() override {
        if (written_ >= kSeveral) {
            std::puts("ended");
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 9);
        }
        written_ = 0;
        Engine::MoveOutputIntoPlace();
    }

private:
    static constexpr int kSeveral = 3;
    int written_ = 0;
};

template <class Engine>
void Run(const std::vector<std::uint8_t>& secret, const wchar_t* folder) {
    Unwatched observer;
    EndingBeforeMoves<Engine> engine(observer, secret);
    WalkEveryFile(engine, folder);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc == 4 ? argv[1] : L"";
    const std::wstring hex = argc == 4 ? argv[2] : L"";
    const auto secret = BytesFromHex(std::string(hex.begin(), hex.end()));
    if ((command != L"encrypt" && command != L"decrypt") || !secret) {
        std::fputs("usage: end_before_moves encrypt|decrypt SECRET-HEX FOLDER\n", stderr);
        return 2;
    }
    const CComApartment apartment;
    if (command == L"encrypt")
        Run<CFileEncryption>(*secret, argv[3]);
    else
        Run<CFileDecryption>(*secret, argv[3]);
    std::puts("the run ended without a batch of several files");
    return 2;
}
