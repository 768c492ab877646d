#include "engine_test.h"

#include "core/container/memory_stream.h"
#include "core/container/payload.h"
#include "core/container/sealed_file.h"
#include "core/crypto/file_key.h"
#include "core/crypto/password.h"
#include "store/decrypted_item.h"
#include "store/decrypted_items.h"
#include "win/wide_text.h"

// 16 bytes, as the secrets the suite's libraries give: a sealed file's key needs 16 to 64.
const Bytes kSecret{'o', 'p', 'e', 'n', ' ', 's', 'e', 's', 'a', 'm', 'e', ',', ' ', 'n', 'o', 'w'};
const Bytes kOtherSecret{'s', 'o', 'm', 'e', 'o', 'n', 'e', ' ', 'e', 'l', 's', 'e', ' ', 't', 'o', 'o'};

namespace {

core::Rc4 FileKey(const Bytes& secret, bool compatibility) {
    return core::Rc4(
        core::DeriveFileKey(secret, compatibility ? core::Provider::Base : core::Provider::Enhanced));
}

}  // namespace

Bytes PasswordSecret(const std::wstring& password) {
    const core::Md4Digest digest = core::PasswordSecret(AsU16(password));
    return {digest.begin(), digest.end()};
}

Bytes PortableEncrypt(const std::u16string& name, const Bytes& plain, std::uint8_t encryptionType,
                      const Bytes& secret) {
    // The stored name is UTF-8 with its terminator; the tests use ASCII names.
    Bytes nameBytes(name.begin(), name.end());
    nameBytes.push_back(0);
    const auto checksum = core::EncodeChecksum(core::AddToChecksum(0, plain));
    const std::uint8_t type[] = {encryptionType};
    const core::BlockView blocks[] = {{core::kChecksumBlock, checksum},
                                      {core::kFileNameBlock, nameBytes},
                                      {core::kEncryptionTypeBlock, type}};
    core::MemorySink sink;
    core::WriteHeader(sink, core::HeaderSizeOf(blocks), blocks);
    Bytes payload = plain;
    core::Rc4 key = FileKey(secret, encryptionType != core::kPrimaryKeyType);
    core::CipherChunks(key, payload);
    sink.Write(payload);
    return sink.Bytes();
}

std::optional<PortableReading> PortableDecrypt(const Bytes& file, const Bytes& secret) {
    core::MemorySource source(file);
    const auto header = core::AcceptHeader(core::ParseHeader(source));
    if (!header) return std::nullopt;
    Bytes plain(file.begin() + header->headerSize, file.end());
    core::Rc4 key = FileKey(secret, header->useCompatibilityKey);
    core::CipherChunks(key, plain);
    return PortableReading{*header, plain};
}

Bytes PortableSeal(std::string_view name, const Bytes& plain, const Bytes& secret) {
    core::MemorySource content(plain);
    core::MemorySink sink;
    core::WriteSealedFile(secret, name, core::NewSealedSalt(), content, sink);
    return sink.Bytes();
}

std::optional<PortableOpening> PortableOpen(const Bytes& file, const Bytes& secret) {
    core::MemorySource source(file);
    core::SealedFileReader reader(secret, source);
    core::MemorySink content;
    if (reader.ReadContent(content) != core::SealedResult::Opened) return std::nullopt;
    return PortableOpening{reader.StoredName(), content.Bytes()};
}

std::wstring EngineTest::File(const std::wstring& name, const Bytes& content) const {
    const std::wstring path = folder_.Path(name);
    WriteFileBytes(path, content);
    return path;
}

std::wstring EngineTest::Folder(const std::wstring& name) const {
    const std::wstring path = folder_.Path(name);
    EXPECT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
    return path;
}

std::wstring EngineTest::Text(const CReport& report) {
    std::wstring text;
    for (std::size_t i = 0; i < report.Count(); ++i) text += report.GetAt(i);
    return text;
}

std::wstring EngineTest::Entry(UINT messageId, const std::wstring& path, HRESULT status) {
    CReport report;
    report.AddEntry(messageId, path, status);
    return Text(report);
}

bool EngineTest::StoreHolds(const std::wstring& name) {
    CDecryptedItems items;
    items.LoadItems(nullptr);
    return items.Find(CDecryptedItem::KeyOf(name)) != nullptr;
}

void PrintTo(const FileOutcome& outcome, std::ostream* out) {
    constexpr const char* kNames[] = {"done", "skipped", "failed"};
    *out << kNames[static_cast<int>(outcome.What())] << " (0x" << std::hex
         << static_cast<unsigned long>(outcome.Status()) << std::dec << ')';
}
