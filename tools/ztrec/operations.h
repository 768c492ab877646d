#pragma once
#include "batch.h"
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
// The plain file, written and checked, waits for its batch; the encrypted file goes (unless keep
// is set) only once that has put the plain file in place.
Step DecryptFile(const Path& path, Keys& keys, bool keep);
// The same for the .zte file; the plain file is wiped and removed then, and only with wipe.
Step EncryptFile(const Path& path, Keys& keys, bool wipe, Format format);
// A file of the first format becomes a sealed file under the same name; the old file is replaced
// only by the complete new one, once its own checksum has matched.
Outcome UpgradeFile(const Path& path, Keys& keys);
// Prints what the header holds; with keys, also whether the content deciphers to its checksum
// (or, sealed, opens whole). Writes no file.
Outcome ShowInfo(const Path& path, Keys* keys);

}  // namespace ztrec
