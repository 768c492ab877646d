#pragma once
#include "core/crypto/chunk_cipher.h"
#include "core/crypto/password.h"
#include "outcome.h"
#include "platform.h"

namespace ztrec {

// The payload ciphers of a password's two keys: the primary one, and the compatibility one
// for files of older encryption types.
struct Keys {
    core::ChunkCipher primary;
    core::ChunkCipher compatibility;
};
Keys KeysFor(const core::Password& password);

// One regular file each. System failures are thrown; the caller turns them into outcomes.
// The .zte file is removed only once its plain file is in place, unless keep is set.
Outcome DecryptFile(const Path& path, Keys& keys, bool keep);
// The plain file is wiped and removed only once its .zte file is in place, and only with wipe.
Outcome EncryptFile(const Path& path, Keys& keys, bool wipe);
// Prints what the header holds; with keys, also whether the content deciphers to its
// checksum. Writes no file.
Outcome ShowInfo(const Path& path, Keys* keys);

}  // namespace ztrec
