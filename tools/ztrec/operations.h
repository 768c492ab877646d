#pragma once
#include "core/crypto/chunk_cipher.h"
#include "core/crypto/md4.h"
#include "core/crypto/password.h"
#include "options.h"
#include "outcome.h"
#include "platform.h"

namespace ztrec {

// What a password opens: the user's secret it becomes, from which every sealed file's key is
// made, and the payload ciphers of the first format's two keys, the primary one and the
// compatibility one for files of older encryption types. The secret is zeroed when it goes.
struct Keys {
    explicit Keys(const core::Password& password);
    ~Keys();
    Keys(const Keys&) = delete;
    Keys& operator=(const Keys&) = delete;

    core::Md4Digest secret;
    core::ChunkCipher primary;
    core::ChunkCipher compatibility;
};

// One regular file each, of either format, told apart by its first bytes. System failures are
// thrown; the caller turns them into outcomes.
// The encrypted file is removed only once its plain file is in place, unless keep is set.
Outcome DecryptFile(const Path& path, Keys& keys, bool keep);
// The plain file is wiped and removed only once its .zte file is in place, and only with wipe.
Outcome EncryptFile(const Path& path, Keys& keys, bool wipe, Format format);
// A file of the first format becomes a sealed file under the same name; the old file is replaced
// only by the complete new one, once its own checksum has matched.
Outcome UpgradeFile(const Path& path, Keys& keys);
// Prints what the header holds; with keys, also whether the content deciphers to its checksum
// (or, sealed, opens whole). Writes no file.
Outcome ShowInfo(const Path& path, Keys* keys);

}  // namespace ztrec
