#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/command_line/operation_kind.h"
#include "core/container/sealed_file.h"
#include "engine/entries_in_file_order.h"
#include "engine/file_keys.h"
#include "engine/file_outcome.h"
#include "store/decrypted_items.h"
#include "text/run_observer.h"
#include "win/handle_stream.h"
#include "win/held_file.h"
#include "win/hresult.h"
#include "win/safe_write.h"
#include "win/unique_handle.h"

// One run of an engine over the files the user chose: the keys from the user's secret, the
// observer that hears of its progress and is given its report entries, and the
// decrypted-items store. The engines fill in the per-file steps; ProcessFile and QueueFile
// drive them.
//
// Files are done in batches, so that what waits for the disk is paid once per batch and not
// once per file: each file's output is written under its unfinished name as it comes; when the
// batch is done, the outputs are flushed, moved into place and their folders flushed, and only
// then are the inputs wiped or removed, the wipes flushed before any removal. A run that dies
// at any instant loses nothing: until its output is durable under its name, an input is as it
// was.
class CEncryptionDecryption {
public:
    virtual ~CEncryptionDecryption();
    CEncryptionDecryption(const CEncryptionDecryption&) = delete;
    CEncryptionDecryption& operator=(const CEncryptionDecryption&) = delete;

    // The file alone, once the batch in hand is done: what became of it. recordItem is true
    // for a file the user named, not one found in a chosen folder.
    FileOutcome ProcessFile(const std::wstring& path, bool recordItem);
    // The file as one of the batch, which is done once it is full. What became of a file that
    // ended before it joined the batch (left alone or failed); nothing for one that joined it.
    std::optional<FileOutcome> QueueFile(const std::wstring& path, bool recordItem);
    // Does the batch when the path is one of its files' inputs or outputs, so that whatever
    // looks at the path next finds what a run of one file after another would leave.
    void MakeWayFor(const std::wstring& path);
    // Does every file of the batch to its end; what became of each, in the order they came.
    // Their report entries are passed on in that order too. A file in hand stays in hand.
    std::vector<FileOutcome> CompleteBatch();
    // A file under an unfinished name that a walk met: what a run that died left behind is
    // removed; anything else is left as it is, with an entry that says why. A path the user
    // named is never removed: only a walk inside a chosen folder finds leftovers.
    void ProcessLeftover(const std::wstring& path, bool namedByUser);

    // The line that ends a report: how many files the run processed.
    virtual std::u16string Summary() const = 0;
    virtual int GetOperationKind() const = 0;
    virtual HRESULT UpdateDecryptedItems(const std::wstring& path, bool isFolder) = 0;

    // The walk tells it of the items it skips and asks it whether to go on. Entries given to
    // it keep their place among the batch's.
    IRunObserver& Observer() const { return observer_; }
    int ProcessedCount() const { return processed_; }
    // The title of the run's progress: what the engine does.
    std::wstring ProgressTitle() const;

protected:
    // Throws HResultError when no key can be made from the secret.
    CEncryptionDecryption(IRunObserver& observer, std::span<const BYTE> secret, UINT captionId);

    // Nothing when the file is to be processed; otherwise what ends it here, skipped or failed.
    virtual std::optional<FileOutcome> CheckInputFile() = 0;
    // False when the output exists and the file is skipped.
    virtual bool CreateOutFileName() = 0;
    // Writes the whole output of the file in hand under its unfinished name, unflushed, or
    // repairs a finished one; failures are reported and thrown.
    virtual void WriteOutput() = 0;
    // Readies the input, whose output is now durable under its name, for its removal. One
    // overwritten (inputOverwritten) has its zeros flushed before it is removed.
    virtual void ReadyInputForRemoval() = 0;
    // Removes the input; failures are reported and thrown.
    virtual void RemoveInput() = 0;
    // The file is done: the store hears of it.
    virtual void FileDone() = 0;

    // Holds the input (file_.input) until the file is done, shared with readers only: nobody writes
    // to it, renames it or deletes it meanwhile, so what is removed at the end is the file
    // that was read. The failure when it cannot be opened.
    HRESULT HoldInput(DWORD access);
    // Holds the input for reading, writing and deletion as a plain file with one name; a
    // read-only bit is cleared meanwhile and put back when the file is kept. False, with
    // file_.inputIdentity telling what the file is, when it is not such a file; a failure to open
    // it is reported with entry 12 and thrown.
    bool HoldPlainInput();
    // Closes what the engine holds of the file in hand, giving a kept input back the
    // attributes it had.
    void ReleaseFile();

    // The output for the file in hand (file_.newOutput), hidden under an unfinished name beside
    // the input, held unshared until the file is done, and created with the input's access
    // rules and group where the system takes them at creation (createdWithSecurity; copied
    // afterwards otherwise). A failure is reported with entry 13 for the output path (or 43
    // for a refused owner) and thrown.
    void CreateOutput(bool& createdWithSecurity);
    // Gives the output the input's creation time and, if asked, its DACL, group and owner.
    // Its attributes follow once it is in place: until then it stays hidden as unfinished.
    HRESULT CopyFileAttributes(bool copySecurity);
    // Moves the complete, flushed output from its unfinished name to the output path without
    // replacing anything (entry 28 when the name was taken meanwhile, 13 for another
    // failure) and gives it the input's attributes. The move is durable once the batch has
    // flushed the folder.
    virtual void MoveOutputIntoPlace();
    // Gives a finished output found under its name before the file was begun
    // (file_.finishedOutput) the input's attributes, which a run that died just after its move
    // may not have given it.
    void RepairFinishedOutput();
    // Throws, with the entry that says so, when the input is no longer what was read.
    void RequireUnchangedInput();
    // Deletes the held input, read-only or not; a refusal is reported with entry 14 and thrown.
    void DeleteHeldInput();
    // Deletes the held file (named path now), after overwriting its content with zeros if
    // asked, through that one handle: no link or other file put under its name meanwhile is
    // reached. Failures are reported for shownAs and returned.
    HRESULT DeleteAndWipeOutFile(HANDLE file, const std::wstring& path, bool wipe,
                                 const std::wstring& shownAs);
    // The deletion of a held file, which goes when its last handle closes; thrown when the
    // system refuses it.
    virtual void RemoveHeld(HANDLE file, const std::wstring& path);

    // Reads the input from its position to its end in pieces of up to 1 MiB, enciphers or
    // deciphers each and writes it to the output, every write but the last ending on a
    // multiple of 1 MiB in the output; the sum is taken of the plain bytes. The progress moves
    // after every piece, and a cancel stops it before the next.
    std::uint64_t TransferPayload(HANDLE input, HANDLE output, const core::ChunkCipher& cipher,
                                  bool encipher);
    // Which format the held input is in, told by its first bytes; it is read from its start
    // again afterwards. A failure to read is reported with entry 15 and thrown.
    core::FileFormat FormatOfInput();
    // A sealed file's progress as the payload's: the progress moves after every message, and a
    // cancel stops it before the next.
    core::SealedProgress SealedProgressOfRun();
    // Throws E_ABORT with entry 29 once the user has cancelled.
    void StopIfCancelled();
    // Adds the entry with the last error and throws it when ok is false.
    void Require(BOOL ok, UINT messageId, const std::wstring& path);
    // Runs the step; a failure it raises is reported under messageId for the path and raised on.
    template <class Step>
    auto Reported(UINT messageId, const std::wstring& path, Step&& step) -> decltype(step()) {
        try {
            return step();
        } catch (const HResultError& error) {
            observer_.AddEntry(messageId, path, error.code());
            throw;
        }
    }
    // True when the output path is free, or when it holds exactly what the held input gives
    // (a run that died after moving its output into place left both): then that output is
    // held (file_.finishedOutput) and only the input's removal is left to do. Otherwise entry 28
    // and false.
    bool MayWriteOutput(bool inputIsEncrypted);
    // After a failure: wipes and removes the output that this engine created for the file,
    // unless it is already under its final name, where the two copies are the safe state. One
    // whose wipe fails stays hidden under its unfinished name for a later run to wipe.
    void RemovePartialOutput();
    // The summary line: string messageId filled with the processed count.
    std::u16string SummaryOf(UINT messageId) const;
    HRESULT UpdateStore(bool add, const std::wstring& path, bool isFolder);

    // What the engine holds of one file from its first step to its last.
    struct FileInHand {
        std::wstring inputPath;
        std::wstring outputPath;
        bool recordItem = false;
        FileHandle input;
        // The input as it was when it was first held.
        FileIdentity inputIdentity;
        // Set while the held input's attributes differ from inputIdentity's under its own name.
        bool inputAttributesChanged = false;
        // The output this engine writes for the file; only it is ever removed by a clean-up,
        // never a file that was there before.
        std::unique_ptr<CSafeWrite> newOutput;
        // The output found finished under its name before the file was begun.
        FileHandle finishedOutput;
        // Where the plain file waits, overwritten, for its removal, and whether any of it may
        // have been.
        std::wstring inputAside;
        bool inputOverwritten = false;
        // The report's slot for the file's entries.
        std::size_t reportSlot = 0;
        // Set once the file is done, left alone or failed.
        std::optional<FileOutcome> outcome;
    };

    CFileKeys keys_;
    CEntriesInFileOrder report_;
    IRunObserver& observer_;
    FileInHand file_;
    int processed_ = 0;

    // A file as the codecs see it: a failure is reported under the entry given, for the path
    // the user knows, and thrown on.
    class ReportedFile;

private:
    // The file's steps up to its output written: check, name the output, write it. What ended
    // the file, or nothing when it joins the batch.
    std::optional<FileOutcome> Begin();
    bool BatchIsFull() const;
    // Runs the step for every file of the batch that is still going, each in hand in turn; one
    // that fails ends there, its partial output removed, and the others go on.
    template <class Step>
    void ForEachGoing(Step&& step);
    // Flushes together the file (handleOf, null for none) of every file of the batch still
    // going; one whose flush fails is reported with entry 16 for its path (pathOf) and fails.
    template <class HandleOf, class PathOf>
    void FlushGoing(HandleOf handleOf, PathOf pathOf);
    // The folders of the batch's outputs flushed once each: their moves are durable.
    void FlushOutputFolders();
    // The distinct folders of the outputs of the batch's files still going.
    std::vector<std::wstring> OutputFolders() const;
    // The removal of what earlier runs left unfinished under the names of the batch's outputs,
    // once they are in place.
    void RemoveLeftoversOfOutputs();
    // A batch never completed (the engine dropped): the outputs written are wiped and removed.
    void AbandonBatch() noexcept;

    std::vector<FileInHand> batch_;
    std::uint64_t batchBytes_ = 0;

    UINT captionId_;
    // False when the system refuses to create the output with those rules; a refused owner is
    // reported with entry 43 and thrown.
    bool TryCreateOutput(SECURITY_ATTRIBUTES* security);
    void CopySecurity();
    // Removes an unfinished file that is provably this program's own: a plain file with one
    // name, not a system file, without streams, and hidden, empty or beside its complete encrypted copy. Its
    // content is overwritten first: it may be a plain file whose wipe was cut short. Failures are reported
    // only when asked. False when the file is not provably such a leftover and was left as it is.
    bool RemoveOwnLeftover(const std::wstring& path, bool reportFailures);
    bool IsOwnLeftover(const std::wstring& path, HANDLE file, const FileIdentity& identity) const;

    CDecryptedItems store_;
};

class CEncryptionDecryption::ReportedFile final : public core::ByteSource, public core::ByteSink {
public:
    ReportedFile(CEncryptionDecryption& engine, HANDLE file, UINT messageId, const std::wstring& path)
        : engine_(engine), file_(file), messageId_(messageId), path_(path) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override {
        return engine_.Reported(messageId_, path_, [&] { return ReadFully(file_, buffer); });
    }
    std::uint64_t Position() override { return CHandleSource(file_).Position(); }
    void Write(std::span<const std::uint8_t> bytes) override {
        engine_.Reported(messageId_, path_, [&] { WriteFully(file_, bytes); });
    }

private:
    CEncryptionDecryption& engine_;
    HANDLE file_;
    UINT messageId_;
    const std::wstring& path_;
};
