#!/usr/bin/env python3
"""Runs the real ztrec on real files in temporary folders: round trips, what it refuses,
what it never overwrites or removes, and the terminal (password without echo, progress bar,
interrupts) through a pseudo-terminal.
Usage: ztrec_test.py ZTREC [unittest arguments]"""
import fcntl
import os
import pty
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time
import unittest
from pathlib import Path

ZTREC = None
PASSWORD = "correct horse"
HEADER = 29  # header bytes besides the stored name
MIB = 1 << 20


def run(*args, password=PASSWORD, stdin=None):
    """ztrec with the password in a file after the command (none: no password); returns the run."""
    command = [ZTREC, *map(str, args)]
    if password is None:
        return subprocess.run(command, input=stdin, capture_output=True, text=True, timeout=120)
    with tempfile.NamedTemporaryFile("w", suffix=".pw") as file:
        file.write(password + "\n")
        file.flush()
        command[2:2] = ["--password-file", file.name]
        return subprocess.run(command, input=stdin, capture_output=True, text=True, timeout=120)


def crafted(name: bytes, payload=b"") -> bytes:
    """An encrypted file's header as a writer lays it out, around any stored name."""
    blocks = b"\1\0\10\0" + bytes(8) + b"\2\0" + struct.pack("<H", len(name)) + name + b"\3\0\1\0\1"
    return b"ZTFE" + struct.pack("<H", 8 + len(blocks)) + blocks + b"\0\0" + payload


class Folder(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp(prefix="ztrec-test-"))
        # A cleanup, so that those a test adds later (which run first) can free its files.
        self.addCleanup(subprocess.run, ["rm", "-rf", str(self.dir)], check=True)

    def write(self, name, content):
        path = self.dir / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content)
        return path

    def listing(self, folder=None):
        folder = folder or self.dir
        return sorted(str(p.relative_to(folder)) for p in folder.rglob("*"))

    def assertNothingChanged(self, before):
        """Every file as it was, and no temporary file left behind."""
        self.assertEqual({p: p.read_bytes() for p in self.dir.rglob("*") if p.is_file()}, before)

    def snapshot(self):
        return {p: p.read_bytes() for p in self.dir.rglob("*") if p.is_file()}

    def encrypted(self, name, content, *options):
        plain = self.write(name, content)
        result = run("encrypt", *options, plain)
        self.assertEqual(result.returncode, 0, result.stderr)
        plain.unlink()
        return plain.with_name(plain.name + ".zte")


class RoundTrip(Folder):
    def test_sizes_across_chunk_boundaries_come_back_unchanged(self):
        for size in (0, 1, 1024, 1025, 3 * MIB):
            with self.subTest(size=size):
                content = os.urandom(size)
                plain = self.write(f"file{size}.bin", content)
                encrypted = run("encrypt", plain)
                self.assertEqual(encrypted.returncode, 0, encrypted.stderr)
                zte = plain.with_name(plain.name + ".zte")
                self.assertEqual(zte.stat().st_size, HEADER + len(plain.name) + size)
                self.assertEqual(plain.read_bytes(), content, "encrypt keeps the plain file")
                plain.unlink()

                decrypted = run("decrypt", zte)
                self.assertEqual(decrypted.returncode, 0, decrypted.stderr)
                self.assertEqual(decrypted.stdout, f"{zte} -> {plain}\n")
                self.assertIn("1 decrypted", decrypted.stderr)
                self.assertEqual(plain.read_bytes(), content)
                self.assertFalse(zte.exists(), "the .zte file goes once the plain file is in place")
        self.assertEqual(self.listing(), [f"file{s}.bin" for s in (0, 1, 1024, 1025, 3 * MIB)])

    def test_output_gets_the_name_stored_inside_whatever_the_file_is_called(self):
        zte = self.encrypted("Grüße Ω.txt", b"text")
        renamed = zte.rename(self.dir / "b.zte")
        self.assertEqual(run("decrypt", renamed).returncode, 0)
        self.assertEqual((self.dir / "Grüße Ω.txt").read_bytes(), b"text")

    def test_keep_and_wipe_leave_and_remove_the_source(self):
        plain = self.write("a.txt", b"x" * 5000)
        self.assertEqual(run("encrypt", "--wipe", plain).returncode, 0)
        self.assertFalse(plain.exists())
        zte = self.dir / "a.txt.zte"
        self.assertEqual(run("decrypt", "--keep", zte).returncode, 0)
        self.assertEqual(plain.read_bytes(), b"x" * 5000)
        self.assertTrue(zte.exists())

    def test_plain_file_takes_the_permissions_and_time_of_the_encrypted_one(self):
        zte = self.encrypted("a.txt", b"private")
        zte.chmod(0o640)
        os.utime(zte, (1000000000, 1000000000))
        run("decrypt", zte)
        status = (self.dir / "a.txt").stat()
        self.assertEqual(status.st_mode & 0o777, 0o640)
        self.assertEqual(status.st_mtime, 1000000000)

    def test_folders_are_walked_and_other_files_passed_over(self):
        self.write("tree/notes.txt", b"plain")
        self.write("tree/sub/deeper/c.bin", b"c" * 2000)
        self.write("tree/sub/b.doc", b"b")
        result = run("encrypt", self.dir / "tree")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("3 encrypted", result.stderr)
        for name in ("notes.txt", "sub/deeper/c.bin", "sub/b.doc"):
            (self.dir / "tree" / name).unlink()
        again = run("encrypt", self.dir / "tree")
        self.assertEqual((again.returncode, again.stdout), (0, ""), "encrypted files are not encrypted twice")

        self.write("tree/sub/unrelated.txt", b"left alone")
        result = run("decrypt", self.dir / "tree")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "ztrec: 3 decrypted\n", "plain files in folders are not mentioned")
        self.assertEqual(self.listing(self.dir / "tree"),
                         ["notes.txt", "sub", "sub/b.doc", "sub/deeper", "sub/deeper/c.bin", "sub/unrelated.txt"])
        self.assertEqual((self.dir / "tree/sub/deeper/c.bin").read_bytes(), b"c" * 2000)

    def test_password_from_standard_input_with_windows_line_end(self):
        zte = self.encrypted("a.txt", b"abc")
        result = run("decrypt", "--password-file", "-", zte, password=None, stdin=PASSWORD + "\r\nignored\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual((self.dir / "a.txt").read_bytes(), b"abc")


class Sealed(Folder):
    """The second format: written with --format 2, read by magic, and the upgrade to it."""

    def sealed(self, name, content):
        return self.encrypted(name, content, "--format", "2")

    def test_format_2_round_trip_across_message_boundaries(self):
        for size in (0, 65536, 65537, 200000):
            with self.subTest(size=size):
                content = os.urandom(size)
                zte = self.sealed(f"file{size}.bin", content)
                self.assertEqual(zte.read_bytes()[:4], b"ZTS2")
                decrypted = run("decrypt", zte)
                self.assertEqual(decrypted.returncode, 0, decrypted.stderr)
                self.assertEqual(decrypted.stdout, f"{zte} -> {self.dir / f'file{size}.bin'}\n")
                self.assertEqual((self.dir / f"file{size}.bin").read_bytes(), content)
                self.assertFalse(zte.exists())
        self.assertEqual(self.listing(), sorted(f"file{s}.bin" for s in (0, 65536, 65537, 200000)))

    def test_altered_cut_or_foreign_sealed_file_is_refused_and_kept(self):
        zte = self.sealed("p.txt", os.urandom(70000))
        whole = zte.read_bytes()
        flipped = bytearray(whole)
        flipped[-100] ^= 1
        cases = (("a flipped bit", bytes(flipped), PASSWORD),
                 ("cut inside the header", whole[:30], PASSWORD),
                 ("cut at the end of the first message", whole[:49 + 5 + 17 + 65553], PASSWORD),
                 ("cut in the last message", whole[:-1], PASSWORD),
                 ("a byte added", whole + b"\0", PASSWORD),
                 ("another version", whole[:4] + b"\2" + whole[5:], PASSWORD),
                 ("another password", whole, "not it"))
        for what, content, password in cases:
            with self.subTest(what):
                zte.write_bytes(content)
                before = self.snapshot()
                result = run("decrypt", zte, password=password)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn(f"{zte}: altered or damaged file, or another password", result.stderr)
                self.assertIn("1 failed", result.stderr)
                self.assertNothingChanged(before)
                checked = run("info", "--check", zte, password=password)
                self.assertEqual(checked.returncode, 1)
                self.assertIn("check            refused: altered or damaged file", checked.stdout)

    def test_upgrade_rewrites_the_first_format_in_place_and_keeps_its_name_and_mode(self):
        content = os.urandom(3 * MIB)
        zte = self.encrypted("big.bin", content)
        zte.chmod(0o640)
        os.utime(zte, (1000000000, 1000000000))
        result = run("upgrade", zte)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout, f"{zte} -> {zte} (sealed)\n")
        self.assertIn("1 upgraded", result.stderr)
        self.assertEqual(zte.read_bytes()[:4], b"ZTS2")
        self.assertEqual((zte.stat().st_mode & 0o777, zte.stat().st_mtime), (0o640, 1000000000))
        self.assertEqual(self.listing(), ["big.bin.zte"], "nothing left beside it")
        self.assertEqual(run("decrypt", zte).returncode, 0)
        self.assertEqual((self.dir / "big.bin").read_bytes(), content)

    def test_upgrade_leaves_sealed_plain_and_damaged_files_as_they_are(self):
        sealed = self.sealed("s.txt", b"already")
        plain = self.write("plain.txt", b"plain")
        damaged = self.encrypted("d.txt", os.urandom(5000))
        content = bytearray(damaged.read_bytes())
        content[-10] ^= 1
        damaged.write_bytes(content)
        for path, reason in ((sealed, "skipped, already sealed"),
                             (plain, "skipped, not an encrypted file"),
                             (damaged, "wrong password or damaged file")):
            with self.subTest(path=path.name):
                before = self.snapshot()
                result = run("upgrade", path)
                self.assertEqual(result.returncode, 1)
                self.assertIn(f"{path}: {reason}", result.stderr)
                self.assertNothingChanged(before)
        # In a folder, the files of other kinds are passed over quietly, the others upgraded.
        damaged.unlink()
        good = self.encrypted("sub/g.txt", b"good")
        result = run("upgrade", self.dir)
        self.assertEqual((result.returncode, result.stderr), (0, "ztrec: 1 upgraded\n"))
        self.assertEqual(good.read_bytes()[:4], b"ZTS2")
        self.assertEqual(sealed.read_bytes()[:4], b"ZTS2")
        self.assertEqual(plain.read_bytes(), b"plain")


class Refusals(Folder):
    def test_wrong_password_changes_nothing(self):
        zte = self.encrypted("p.txt", os.urandom(5000))
        before = self.snapshot()
        result = run("decrypt", zte, password="not it")
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{zte}: wrong password or damaged file", result.stderr)
        self.assertIn("0 decrypted, 1 failed (1 wrong password or damaged file)", result.stderr)
        self.assertNothingChanged(before)

    def test_cut_file_is_reported_damaged_and_kept(self):
        zte = self.encrypted("p.txt", os.urandom(3000))
        whole = zte.read_bytes()
        for cut, reason in ((len(whole) - 1000, "wrong password or damaged file"),
                            (20, "damaged file: the file ends after 20 bytes")):
            with self.subTest(cut=cut):
                zte.write_bytes(whole[:cut])
                before = self.snapshot()
                result = run("decrypt", zte)
                self.assertEqual(result.returncode, 1)
                self.assertIn(f"{zte}: {reason}", result.stderr)
                self.assertNothingChanged(before)

    def test_stored_name_leaving_its_folder_is_refused(self):
        inner = self.dir / "inner"
        for name in (b"../escaped.txt", b"..", b"a/b", b"..\\x", b"c:x", b"a\x1b[2Jb"):
            with self.subTest(name=name):
                zte = self.write("inner/crafted.zte", crafted(name))
                before = self.snapshot()
                result = run("decrypt", zte)
                self.assertEqual(result.returncode, 1)
                self.assertIn(f"{zte}: skipped, name refused: the stored name is", result.stderr)
                self.assertNotIn("\x1b", result.stderr, "names reach the terminal escaped")
                self.assertNothingChanged(before)
        self.assertEqual(self.listing(), ["inner", "inner/crafted.zte"])

    def test_names_no_reader_accepts_are_not_encrypted(self):
        plain = self.write("a:b.txt", b"x")
        before = self.snapshot()
        result = run("encrypt", plain)
        self.assertEqual(result.returncode, 1)
        self.assertIn("skipped, name refused", result.stderr)
        self.assertNothingChanged(before)

    def test_existing_output_is_never_overwritten(self):
        zte = self.encrypted("a.txt", b"secret content")
        self.write("a.txt", b"someone else's file")
        before = self.snapshot()
        result = run("decrypt", zte)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{zte}: skipped, output exists: {self.dir / 'a.txt'}", result.stderr)
        self.assertNothingChanged(before)

        (self.dir / "b.txt").write_bytes(b"new")
        (self.dir / "b.txt.zte").symlink_to("nowhere")
        before = self.snapshot()
        result = run("encrypt", self.dir / "b.txt")
        self.assertIn("skipped, output exists", result.stderr, "a dangling link counts as existing")
        self.assertNothingChanged(before)

    def test_files_named_that_are_not_the_commands_kind(self):
        plain = self.write("plain.txt", b"not encrypted")
        zte = self.encrypted("e.txt", b"x")
        (self.dir / "link.zte").symlink_to(zte)
        cases = (("decrypt", plain, "skipped, not an encrypted file"),
                 ("encrypt", zte, "skipped, already encrypted"),
                 ("encrypt", self.encrypted("s.txt", b"x", "--format", "2"), "skipped, already encrypted"),
                 ("decrypt", self.dir / "link.zte", "skipped, not a regular file"),
                 ("decrypt", self.dir / "missing.zte", "no such file or folder"),
                 ("info", plain, "skipped, not an encrypted file"))
        for command, path, reason in cases:
            with self.subTest(command=command, path=path.name):
                before = self.snapshot()
                result = run(command, path) if command != "info" else run(command, path, password=None)
                self.assertEqual(result.returncode, 1)
                self.assertIn(f"{path}: {reason}", result.stderr)
                self.assertNothingChanged(before)

    def test_source_that_cannot_be_removed_stays_beside_the_new_file(self):
        zte = self.encrypted("a.txt", b"content")
        plain = self.write("b.txt", b"plain")
        if subprocess.run(["chattr", "+i", zte, plain], capture_output=True).returncode != 0:
            self.skipTest("this file system cannot make a file undeletable")
        self.addCleanup(subprocess.run, ["chattr", "-i", zte, plain])
        decrypted = run("decrypt", zte)
        self.assertEqual(decrypted.returncode, 1)
        self.assertIn(f"{zte}: not finished: decrypted to {self.dir / 'a.txt'}, but the .zte file could not be "
                      "removed: Operation not permitted", decrypted.stderr)
        wiped = run("encrypt", "--wipe", plain)
        self.assertEqual(wiped.returncode, 1)
        self.assertIn("but the plain file could not be wiped", wiped.stderr)
        self.assertEqual(self.listing(), ["a.txt", "a.txt.zte", "b.txt", "b.txt.zte"])
        self.assertEqual((self.dir / "a.txt").read_bytes(), b"content")
        self.assertEqual(plain.read_bytes(), b"plain")

    def test_file_with_other_names_is_never_wiped(self):
        plain = self.write("a.txt", b"shared content")
        os.link(plain, self.dir / "b.txt")
        before = self.snapshot()
        result = run("encrypt", "--wipe", plain)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{plain}: skipped, has other names (hard links)", result.stderr)
        self.assertNothingChanged(before)
        # Encrypting without the wipe touches neither name.
        self.assertEqual(run("encrypt", plain).returncode, 0)
        self.assertEqual((self.dir / "b.txt").read_bytes(), b"shared content")

    def test_one_failure_does_not_stop_the_others(self):
        good = self.encrypted("good.txt", b"good")
        self.write("good2.txt", b"x")
        (self.dir / "good2.txt.zte").write_bytes(b"ZTFE")
        result = run("decrypt", self.dir / "good2.txt.zte", good)
        self.assertEqual(result.returncode, 1)
        self.assertIn("1 decrypted, 1 failed (1 damaged file)", result.stderr)
        self.assertEqual((self.dir / "good.txt").read_bytes(), b"good")


class Batches(Folder):
    """Many files at once: their new files are made durable and put in place a batch at a time,
    and a source goes only once its new file is durable under its final name."""

    def tree(self, count):
        """count small files in a folder and a subfolder, and their contents by name."""
        contents = {}
        for i in range(count):
            name = f"{i:03}.txt" if i % 3 else f"sub/{i:03}.txt"
            contents[name] = os.urandom(i * 37 % 5000)
            self.write(name, contents[name])
        return contents

    def walk_order(self, names):
        """The order ztrec walks them in: each folder's files before its subfolder's."""
        return sorted(names, key=lambda name: ("/" in name, name))

    def start(self, *args, env=None):
        """ztrec running in the background with the password in a file."""
        secret = self.dir.parent / (self.dir.name + ".pw")
        secret.write_text(PASSWORD + "\n")
        self.addCleanup(secret.unlink, missing_ok=True)
        return subprocess.Popen([ZTREC, args[0], "--password-file", secret, *map(str, args[1:])],
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def assertNothingLost(self, contents, plain_whole=True):
        """Every file is there as itself, or as a complete encrypted file that decrypts to it (the
        plain file beside it may then be wiped already); temporary files do not count."""
        copy = Path(tempfile.mkdtemp(prefix="ztrec-check-"))
        self.addCleanup(shutil.rmtree, copy)
        shutil.copytree(self.dir, copy, dirs_exist_ok=True, ignore=shutil.ignore_patterns(".ztrec-*"))
        for name, content in contents.items():
            plain, zte = copy / name, copy / (name + ".zte")
            if zte.exists():
                if plain_whole and plain.exists():
                    self.assertEqual(plain.read_bytes(), content, name)
                plain.unlink(missing_ok=True)
            else:
                self.assertEqual(plain.read_bytes(), content, f"{name} is lost")
        result = run("decrypt", copy)
        for name, content in contents.items():
            self.assertEqual((copy / name).read_bytes(), content, f"{name}: {result.stderr}")

    def assertAllEncrypted(self, contents):
        """A plain file left beside its .zte file was overwritten when the run ended, not removed."""
        self.assertEqual(sorted(p for p in self.listing() if p.endswith(".txt.zte")),
                         sorted(name + ".zte" for name in contents))
        self.assertNothingLost(contents, plain_whole=False)

    def test_many_small_files_round_trip_in_both_formats_with_the_same_report(self):
        contents = self.tree(150)
        order = self.walk_order(contents)
        reports = []
        for format in ("1", "2"):
            with self.subTest(format=format):
                encrypted = run("encrypt", "--format", format, "--wipe", self.dir)
                self.assertEqual(encrypted.returncode, 0, encrypted.stderr)
                self.assertEqual(encrypted.stdout, "".join(f"{self.dir / n} -> {self.dir / n}.zte\n" for n in order))
                self.assertEqual(self.listing(), sorted(["sub"] + [n + ".zte" for n in contents]))
                decrypted = run("decrypt", self.dir)
                self.assertEqual(decrypted.returncode, 0, decrypted.stderr)
                self.assertEqual(decrypted.stdout, "".join(f"{self.dir / n}.zte -> {self.dir / n}\n" for n in order))
                self.assertEqual({n: (self.dir / n).read_bytes() for n in contents}, contents)
                self.assertEqual(self.listing(), sorted(["sub", *contents]))
                reports.append((encrypted.stderr, decrypted.stderr))
        self.assertEqual(reports[0], reports[1])
        self.assertEqual(reports[0], ("ztrec: 150 encrypted\n", "ztrec: 150 decrypted\n"))

    def test_a_failure_in_the_middle_of_a_batch_fails_that_file_alone(self):
        contents = self.tree(40)
        run("encrypt", "--wipe", self.dir)
        # Two files that decrypt to the same name: the second finds it taken only when its
        # batch moves it into place.
        twin = self.dir / "020.txt.zte"
        shutil.copy(twin, self.dir / "020b.zte")
        (self.dir / "022.txt.zte").write_bytes(b"ZTFE")
        result = run("decrypt", self.dir)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{self.dir / '020b.zte'}: skipped, output exists: {self.dir / '020.txt'}", result.stderr)
        self.assertIn("39 decrypted, 1 skipped (1 output exists), 1 failed (1 damaged file)", result.stderr)
        self.assertEqual(self.listing(), sorted(["sub", "020b.zte", "022.txt.zte", *(n for n in contents if n != "022.txt")]))
        for name in contents.keys() - {"022.txt"}:
            self.assertEqual((self.dir / name).read_bytes(), contents[name])

    def test_a_source_that_cannot_be_wiped_stays_and_the_others_are_wiped(self):
        contents = self.tree(30)
        stuck = self.dir / "010.txt"
        if subprocess.run(["chattr", "+i", stuck], capture_output=True).returncode != 0:
            self.skipTest("this file system cannot make a file undeletable")
        self.addCleanup(subprocess.run, ["chattr", "-i", stuck])
        result = run("encrypt", "--wipe", self.dir)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{stuck}: not finished: encrypted to {stuck}.zte, but the plain file could not be wiped",
                      result.stderr)
        self.assertIn("29 encrypted, 1 failed", result.stderr)
        self.assertEqual(stuck.read_bytes(), contents["010.txt"])
        self.assertEqual([p for p in self.listing() if p.endswith(".txt")], ["010.txt"])
        self.assertAllEncrypted(contents)

    def test_a_run_ended_between_any_two_steps_of_a_batch_loses_nothing(self):
        for command, end in (("encrypt", "durable:2"), ("encrypt", "placed:2"), ("encrypt", "overwritten:2"),
                             ("decrypt", "durable:1"), ("decrypt", "placed:2")):
            with self.subTest(command=command, end=end):
                shutil.rmtree(self.dir)
                self.dir.mkdir()
                contents = self.tree(200)
                if command == "decrypt":
                    run("encrypt", "--wipe", self.dir)
                options = ["--wipe"] if command == "encrypt" else []
                ended = self.start(command, *options, self.dir, env={**os.environ, "ZTREC_TEST_END": end})
                self.assertEqual(ended.wait(timeout=120), 1)
                self.assertNothingLost(contents, plain_whole=command == "decrypt")
                run(command, *options, self.dir)
                self.assertNothingLost(contents, plain_whole=command == "decrypt")
                finished = {n for n in contents if (self.dir / (n + ".zte")).exists()}
                self.assertEqual(finished, set(contents) if command == "encrypt" else
                                 {n for n in contents if (self.dir / n).exists() and (self.dir / (n + ".zte")).exists()})

    def test_an_interrupt_ends_the_run_at_once_with_every_file_whole_or_untouched(self):
        contents = self.tree(300)
        # Walked last, and long enough to write that the interrupt lands before the run ends.
        contents["zz.bin"] = self.write("zz.bin", os.urandom(128 * MIB)).read_bytes()
        interrupted = self.start("encrypt", "--wipe", self.dir)
        time.sleep(0.3)
        interrupted.send_signal(signal.SIGINT)
        self.assertEqual(interrupted.wait(timeout=3), 130)
        self.assertEqual([p for p in self.listing() if ".ztrec-" in p], [], "no temporary file is left")
        encrypted = {n for n in contents if (self.dir / (n + ".zte")).exists()}
        self.assertEqual(encrypted, {n for n in contents if not (self.dir / n).exists()})
        self.assertNotEqual(encrypted, set(contents), "interrupted before the end")
        self.assertNothingLost(contents)

    def test_a_run_killed_at_any_moment_loses_nothing_and_a_second_run_finishes(self):
        for format, delay in (("1", 0.02), ("2", 0.1), ("1", 0.2), ("2", 0.4)):
            with self.subTest(format=format, delay=delay):
                shutil.rmtree(self.dir)
                self.dir.mkdir()
                contents = self.tree(400)
                killed = self.start("encrypt", "--format", format, "--wipe", self.dir)
                time.sleep(delay)
                killed.kill()
                killed.wait()
                self.assertNothingLost(contents, plain_whole=False)
                run("encrypt", "--format", format, "--wipe", self.dir)
                self.assertAllEncrypted(contents)


class CommandLine(Folder):
    def test_nothing_is_done_without_a_usable_command_line_or_password(self):
        zte = self.encrypted("a.txt", b"abc")
        before = self.snapshot()
        cases = (((), "no command"),
                 (("decrypt",), "no file or folder given"),
                 (("unpack", zte), "unknown command"),
                 (("decrypt", "--force", zte), "unknown option"),
                 (("encrypt", "--keep", zte), "--keep goes only with decrypt"),
                 (("encrypt", "--format", "3", zte), 'unknown format "3"'),
                 (("encrypt", zte, "--format"), "--format needs 1"),
                 (("decrypt", "--format=2", zte), "--format goes only with encrypt"),
                 (("decrypt", "--password-file"), "--password-file needs a file name"),
                 (("info", "--password-file", "x", zte), "info reads a password only with --check"))
        for args, message in cases:
            with self.subTest(args=args):
                result = subprocess.run([ZTREC, *map(str, args)], capture_output=True, text=True, timeout=60)
                self.assertEqual(result.returncode, 2)
                self.assertIn(message, result.stderr)
        for password, message in (("", "no password given"), ("x" * 257, "longer than the 256 characters")):
            result = run("decrypt", zte, password=password)
            self.assertEqual(result.returncode, 2)
            self.assertIn(message, result.stderr)
        result = run("decrypt", "--password-file", self.dir / "absent", zte, password=None)
        self.assertEqual(result.returncode, 2)
        self.assertIn("cannot read the password: No such file or directory", result.stderr)
        self.assertNothingChanged(before)

    def test_without_a_terminal_the_password_is_not_asked_for(self):
        zte = self.encrypted("a.txt", b"abc")
        result = subprocess.run([ZTREC, "decrypt", str(zte)], capture_output=True, text=True, timeout=60,
                                stdin=subprocess.DEVNULL, start_new_session=True)
        self.assertEqual(result.returncode, 2)
        self.assertIn("no terminal to ask for the password on; use --password-file", result.stderr)

    def test_help_and_version(self):
        result = subprocess.run([ZTREC, "--help"], capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0)
        self.assertIn("usage: ztrec decrypt", result.stdout)
        self.assertIn("Exit status", result.stdout)
        result = subprocess.run([ZTREC, "--version"], capture_output=True, text=True, timeout=60)
        self.assertRegex(result.stdout, r"^ztrec \d+\.\d+")


class Info(Folder):
    def test_shows_the_header_without_a_password(self):
        zte = self.encrypted("report.txt", b"abc")
        result = run("info", zte, password=None)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout, f"""{zte}
  magic            ZTFE
  header size      39 bytes
  blocks           1 checksum (8 bytes), 2 file name (10 bytes), 3 encryption type (1 byte)
  stored name      report.txt
  encryption type  1 (128-bit key)
  payload size     3 bytes
  checksum         0x{ord('a') + ord('b') + ord('c'):016X}
""")

    def test_check_tells_whether_the_password_fits_and_writes_nothing(self):
        zte = self.encrypted("a.txt", os.urandom(5000))
        before = self.snapshot()
        right = run("info", "--check", zte)
        self.assertEqual(right.returncode, 0, right.stderr)
        self.assertIn("check            the content deciphers to its checksum", right.stdout)
        wrong = run("info", "--check", zte, password="other")
        self.assertEqual(wrong.returncode, 1)
        self.assertIn("does not decipher to its checksum", wrong.stdout)
        self.assertNothingChanged(before)

    def test_refused_name_is_shown_escaped(self):
        zte = self.write("x.zte", crafted(b"../\x07x"))
        result = run("info", zte, password=None)
        self.assertEqual(result.returncode, 1)
        self.assertIn("  stored name      ../\\x07x\n", result.stdout)
        self.assertIn("skipped, name refused", result.stderr)


class Terminal(Folder):
    """ztrec on a pseudo-terminal of 80 columns, as a user at a terminal runs it."""

    def spawn(self, *args):
        pid, master = pty.fork()
        if pid == 0:
            os.execv(ZTREC, [ZTREC, *map(str, args)])
        fcntl.ioctl(master, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 80, 0, 0))
        self.addCleanup(self.reap, pid, master)
        return pid, master

    def reap(self, pid, master):
        try:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
        except (ProcessLookupError, ChildProcessError):
            pass
        os.close(master)

    def read_until(self, master, text, seconds=60):
        """Everything the terminal showed until text appeared; fails when it does not in time."""
        seen = b""
        deadline = time.monotonic() + seconds
        while text.encode() not in seen:
            remaining = deadline - time.monotonic()
            self.assertGreater(remaining, 0, f"waited for {text!r}; the terminal showed {seen!r}")
            if select.select([master], [], [], remaining)[0]:
                try:
                    chunk = os.read(master, 4096)
                except OSError:
                    chunk = b""
                self.assertTrue(chunk, f"ztrec ended before showing {text!r}; it showed {seen!r}")
                seen += chunk
        return seen.decode(errors="replace")

    def finish(self, pid, master):
        """What the terminal showed until ztrec ended, and its exit status."""
        seen = b""
        while True:
            ready = select.select([master], [], [], 60)[0]
            self.assertTrue(ready, "ztrec did not end")
            try:
                chunk = os.read(master, 4096)
            except OSError:  # the terminal closes with ztrec's end
                chunk = b""
            if not chunk:
                break
            seen += chunk
        _, status = os.waitpid(pid, 0)
        return seen.decode(errors="replace"), os.waitstatus_to_exitcode(status)

    def test_password_is_asked_without_echo_and_a_large_file_shows_a_progress_bar(self):
        content = os.urandom(3 * MIB)
        zte = self.encrypted("big.bin", content)
        pid, master = self.spawn("decrypt", zte)
        self.read_until(master, "Password: ")
        os.write(master, (PASSWORD + "\n").encode())
        shown, status = self.finish(pid, master)
        self.assertEqual(status, 0, shown)
        self.assertNotIn(PASSWORD, shown, "the password is not echoed")
        self.assertRegex(shown, r"\r\[#{26}\] 100% " + str(zte).replace(".", r"\.") + "\r")
        self.assertRegex(shown, r"\r\[#*\.+\] +\d+% ", "the bar grows while the file is worked on")
        self.assertIn("1 decrypted", shown)
        self.assertEqual((self.dir / "big.bin").read_bytes(), content)

    def test_encrypt_asks_twice_and_refuses_different_answers(self):
        plain = self.write("a.txt", b"abc")
        pid, master = self.spawn("encrypt", plain)
        self.read_until(master, "Password: ")
        os.write(master, b"one\n")
        self.read_until(master, "The same password again: ")
        os.write(master, b"two\n")
        shown, status = self.finish(pid, master)
        self.assertEqual(status, 2)
        self.assertIn("the two passwords differ; nothing was encrypted", shown)
        self.assertNotIn("one", shown.replace("done", ""))
        self.assertEqual(self.listing(), ["a.txt"])

    def test_interrupt_at_the_prompt_gives_the_echo_back(self):
        zte = self.encrypted("a.txt", b"abc")
        pid, master = self.spawn("decrypt", zte)
        self.read_until(master, "Password: ")
        self.assertFalse(termios.tcgetattr(master)[3] & termios.ECHO, "echo is off while the password is typed")
        os.write(master, b"\x03")
        shown, status = self.finish(pid, master)
        self.assertEqual(status, 130, shown)
        self.assertTrue(termios.tcgetattr(master)[3] & termios.ECHO, "echo is back after an interrupt")
        self.assertEqual(self.listing(), ["a.txt.zte"])

    def interrupt_in_the_middle(self, command, counted):
        zte = self.encrypted("big.bin", os.urandom(128 * MIB))
        before = self.snapshot()
        pid, master = self.spawn(command, zte)
        self.read_until(master, "Password: ")
        os.write(master, (PASSWORD + "\n").encode())
        self.read_until(master, "%")
        # Held still while the interrupt arrives, so that it lands in the middle of the file.
        os.kill(pid, signal.SIGSTOP)
        os.kill(pid, signal.SIGINT)
        os.kill(pid, signal.SIGCONT)
        shown, status = self.finish(pid, master)
        self.assertEqual(status, 130, shown)
        self.assertIn(f"0 {counted}; interrupted", shown)
        self.assertNothingChanged(before)

    def test_interrupt_during_a_file_keeps_the_encrypted_file_and_leaves_no_partial_output(self):
        self.interrupt_in_the_middle("decrypt", "decrypted")

    def test_interrupt_during_an_upgrade_keeps_the_old_file_and_leaves_nothing_else(self):
        self.interrupt_in_the_middle("upgrade", "upgraded")


if __name__ == "__main__":
    ZTREC = os.path.abspath(sys.argv.pop(1))
    unittest.main()
