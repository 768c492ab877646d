#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/container/zte_header.h"
#include "engine/file_outcome.h"
#include "store_sandbox.h"
#include "test_support.h"
#include "ui/run_dialogs.h"
#include "win/unfinished_path.h"

// The secret of the user the engines run for, and another user's.
extern const Bytes kSecret;
extern const Bytes kOtherSecret;

// The secret a password makes: the MD4 of its UTF-16 units and terminator.
Bytes PasswordSecret(const std::wstring& password);

// An encrypted file written by the portable code, as another installation would write it.
Bytes PortableEncrypt(const std::u16string& name, const Bytes& plain, std::uint8_t encryptionType,
                      const Bytes& secret = kSecret);

// What the portable reader makes of an encrypted file: its header and plain content.
struct PortableReading {
    core::AcceptedHeader header;
    Bytes plain;
};
std::optional<PortableReading> PortableDecrypt(const Bytes& file, const Bytes& secret = kSecret);

// A sealed file written by the portable code, and what the portable reader makes of one when
// it opens whole.
Bytes PortableSeal(std::string_view name, const Bytes& plain, const Bytes& secret = kSecret);
struct PortableOpening {
    std::u16string name;
    Bytes plain;
};
std::optional<PortableOpening> PortableOpen(const Bytes& file, const Bytes& secret = kSecret);

// For gtest's messages: what became of a file, with its status.
void PrintTo(const FileOutcome& outcome, std::ostream* out);

// An engine as the deliverables run it: the progress dialog up (owned by no window), the
// confirmation and the report as the user meets them. The engine is made with these dialogs
// and then the given arguments.
template <class Engine>
class DialogRun : public CRunDialogs, public Engine {
public:
    template <class... Args>
    explicit DialogRun(Args&&... args)
        : CRunDialogs(nullptr), Engine(static_cast<CRunDialogs&>(*this), std::forward<Args>(args)...) {
        ShowProgress(Engine::ProgressTitle());
    }
};

// An engine whose deletion of a held file under an unfinished name is refused, as a virus
// scanner may refuse it: the plain file set aside for its wipe, or its own partial output.
template <class Engine>
class RefusingUnfinishedRemoval : public Engine {
public:
    using Engine::Engine;

protected:
    void RemoveHeld(HANDLE file, const std::wstring& path) override {
        if (!IsUnfinishedPath(path)) return Engine::RemoveHeld(file, path);
        ThrowWin32(ERROR_ACCESS_DENIED);
    }
};

// A run in a fresh folder, with the store as the test found it.
class EngineTest : public ::testing::Test {
protected:
    std::wstring File(const std::wstring& name, const Bytes& content) const;
    // A new folder of that name in the test's folder.
    std::wstring Folder(const std::wstring& name) const;
    // The report's paragraphs as the user reads them.
    static std::wstring Text(const CReport& report);
    // The paragraph a report shows for that entry.
    static std::wstring Entry(UINT messageId, const std::wstring& path, HRESULT status);
    static bool StoreHolds(const std::wstring& name);

    StoreSandbox store_;
    TempFolder folder_;
};
