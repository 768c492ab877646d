#!/usr/bin/env python3
"""Checks scripts/mutants' choice of sites: a mutant planted in a comment, a string, a
template's brackets or a branch the compiler never sees would count as a survivor and make the
tests look weaker than they are; a missed site makes them look stronger.
Usage: mutants_test.py [unittest arguments]"""
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts" / "lib"))
import mutants  # noqa: E402


def changes(text: str) -> list[tuple[int, str, str]]:
    """(line, original, replacement) of every site in a snippet."""
    return [(s.line, s.original, s.replacement) for s in mutants.sites_in("a.cpp", text)]


def dropped(text: str) -> list[int]:
    return [line for line, _, replacement in changes(text) if replacement == ";"]


class Operators(unittest.TestCase):
    def test_each_operator_swaps_with_its_partner(self):
        text = "x = a < b; x = a <= b; x = a > b; x = a >= b; x = a == b; x = a != b;"
        self.assertEqual([(o, r) for _, o, r in changes(text)],
                         [("<", "<="), ("<=", "<"), (">", ">="), (">=", ">"), ("==", "!="), ("!=", "==")])

    def test_logic_arithmetic_and_booleans(self):
        text = "x = a && b || c;\ny = n + 1;\nz = n - 1;\nw = true;\nv = false;"
        self.assertEqual(changes(text), [(1, "&&", "||"), (1, "||", "&&"), (2, "+ 1", "- 1"),
                                         (3, "- 1", "+ 1"), (4, "true", "false"), (5, "false", "true")])

    def test_templates_shifts_and_arrows_are_not_comparisons(self):
        text = "std::vector<int> v; x = p->q; y = a << 2; z = a >> 2; auto c = a <=> b; f(T&& t);"
        self.assertEqual(changes(text), [])

    def test_a_comparison_at_a_continued_line_start(self):
        self.assertEqual(changes("return a\n    && b;"), [(2, "&&", "||")])

    def test_only_a_one_is_shifted(self):
        self.assertEqual(changes("a = n + 10; b = n + 1u; c = n + 1.5; d = n + 1'000; e = n+1;"), [])

    def test_words_that_contain_true_are_left(self):
        self.assertEqual(changes("is_true = untrue; falsehood = 0;"), [])


class NotCode(unittest.TestCase):
    def test_comments_strings_and_characters_are_skipped(self):
        text = ('// a < b\n'
                '/* a == b\n   c && d */ x = 1;\n'
                's = "a < b \\" == c";\n'
                "c = u'<' ;\n")
        self.assertEqual(changes(text), [])

    def test_raw_strings_over_several_lines_are_skipped(self):
        self.assertEqual(changes('t = R"x(a < b\nc == d)x";\nq = a == b;'), [(3, "==", "!=")])

    def test_preprocessor_lines_and_their_continuations_are_skipped(self):
        text = "#if A > 1\n#define F(x) \\\n    (x == 2)\n#endif\ny = a > b;"
        self.assertEqual(changes(text), [(5, ">", ">=")])

    def test_a_digit_separator_opens_no_character_literal(self):
        self.assertEqual(changes("n = 1'000'000 < m;"), [(1, "<", "<=")])

    def test_columns_point_at_the_operator(self):
        site = mutants.sites_in("a.cpp", "  s = \"<\"; x = a < b;")[0]
        self.assertEqual(site.column, 17)


class DroppedCalls(unittest.TestCase):
    def test_statements_that_are_one_call(self):
        text = "void f() {\n    g(a, b);\n    obj.m();\n    p->m(x);\n    ns::h(y(z));\n}"
        self.assertEqual(dropped(text), [2, 3, 4, 5])

    def test_statements_that_do_more_than_call(self):
        text = ("void f() {\n    x = g();\n    return g();\n    Type name(arg);\n"
                "    g(a) + h(b);\n    if (g(a));\n    ASSERT_OK(g);\n    auto v =\n        g(a);\n}")
        self.assertEqual(dropped(text), [])

    def test_a_call_spread_over_lines_is_left(self):
        self.assertEqual(dropped("void f() {\n    g(a,\n      b);\n}"), [])

    def test_a_constructor_declaration_is_not_a_call(self):
        self.assertEqual(dropped("class Md5 {\npublic:\n    Md5();\n    Reset();\n};"), [4])

    def test_a_dropped_call_leaves_an_empty_statement(self):
        text = "void f() {\n    g(a);  \n}"
        site = mutants.sites_in("a.cpp", text)[0]
        self.assertEqual(mutants.apply(text, site), "void f() {\n    ;  \n}")


class Apply(unittest.TestCase):
    def test_changes_only_the_site(self):
        text = "a < b;\nc < d;"
        second = mutants.sites_in("a.cpp", text)[1]
        self.assertEqual(mutants.apply(text, second), "a < b;\nc <= d;")

    def test_refuses_a_site_that_is_not_there(self):
        site = mutants.Site("a.cpp", 1, 2, "<", "<=")
        with self.assertRaises(ValueError):
            mutants.apply("a == b;", site)


class Choice(unittest.TestCase):
    FILES = ["core/a.cpp", "core/tests/a_test.cpp", "core/fuzz/f.cpp", "core/a.txt", "tools/ztrec/walk.cpp",
             "tools/ztrec/windows/files.cpp", "tools/ztrec/posix/files.cpp", "tests/core/b.cpp",
             "dashboard/page.cpp", "dashboard/rules/hours.cpp"]

    def test_native_files_leave_out_tests_fuzzers_and_windows_glue(self):
        self.assertEqual(mutants.mutable_files(self.FILES, "core/", False), ["core/a.cpp"])
        self.assertEqual(mutants.mutable_files(self.FILES, "tools/ztrec/", False),
                         ["tools/ztrec/posix/files.cpp", "tools/ztrec/walk.cpp"])

    def test_windows_files_leave_out_posix_glue(self):
        self.assertEqual(mutants.mutable_files(self.FILES, "tools/ztrec/", True),
                         ["tools/ztrec/walk.cpp", "tools/ztrec/windows/files.cpp"])

    def test_a_file_belongs_to_its_nearest_folder(self):
        per_folder = mutants.enumerate_sites(self.FILES, ["dashboard/", "dashboard/rules/"], True,
                                             lambda path: "x = a < b;")
        self.assertEqual([s.path for s in per_folder["dashboard/"]], ["dashboard/page.cpp"])
        self.assertEqual([s.path for s in per_folder["dashboard/rules/"]], ["dashboard/rules/hours.cpp"])

    def test_folders_left_to_the_other_mode_are_left_out(self):
        per_folder = mutants.enumerate_sites(self.FILES, ["dashboard/"], True, lambda path: "x = a < b;",
                                             leave_out=["dashboard/rules/"])
        self.assertEqual([s.path for s in per_folder["dashboard/"]], ["dashboard/page.cpp"])

    def test_the_seed_fixes_the_sample(self):
        per_folder = {"core/": [mutants.Site("core/a.cpp", n, 0, "<", "<=") for n in range(1, 200)]}
        first = mutants.sample(per_folder, 10, 7)
        self.assertEqual(first, mutants.sample(per_folder, 10, 7))
        self.assertNotEqual(first, mutants.sample(per_folder, 10, 8))
        self.assertEqual(len(first), 10)
        self.assertEqual([s.line for _, s in first], sorted(s.line for _, s in first))

    def test_a_count_beyond_the_sites_takes_them_all(self):
        per_folder = {"a/": [mutants.Site("a/x.cpp", 1, 0, "<", "<=")], "b/": []}
        self.assertEqual(len(mutants.sample(per_folder, 60, 1)), 1)


class CompiledLines(unittest.TestCase):
    def test_line_markers_map_output_lines_to_source_lines(self):
        output = '# 1 "/s/a.cpp"\nint a;\n\n# 7 "/s/a.cpp"\nint b;\nint c;\n# 3 "x/b.h" 1\nint d;\n'
        self.assertEqual(mutants.lines_in_output(output, "/build"),
                         {"/s/a.cpp": {1, 7, 8}, "/build/x/b.h": {3}})

    def test_the_compile_command_becomes_a_preprocessing_one(self):
        command = "ccache /usr/bin/clang++ -DA -MD -MT x.o -MF x.o.d -o x.o -c /s/a.cpp"
        self.assertEqual(mutants.preprocess_command(command), ["/usr/bin/clang++", "-DA", "/s/a.cpp", "-E"])

    @unittest.skipUnless(shutil.which("c++"), "no C++ compiler")
    def test_a_branch_the_build_leaves_out_has_no_sites(self):
        with tempfile.TemporaryDirectory() as folder:
            source = Path(folder) / "a.cpp"
            text = ("#ifdef NOT_DEFINED\nint f(int a) { return a < 1; }\n"
                    "#else\nint f(int a) { return a > 1; }\n#endif\n")
            source.write_text(text)
            output = subprocess.run(mutants.preprocess_command(f"c++ -o a.o -c {source}"), cwd=folder,
                                    capture_output=True, text=True, check=True).stdout
            compiled = {"a.cpp": mutants.lines_in_output(output, folder)[str(source)]}
        kept = mutants.compiled_only({"a/": mutants.sites_in("a.cpp", text)}, compiled)["a/"]
        self.assertEqual([(s.line, s.original) for s in kept], [(4, ">")])


class Table(unittest.TestCase):
    def test_the_score_counts_killed_among_those_that_built(self):
        site = mutants.Site("a/x.cpp", 1, 0, "<", "<=")
        results = [("a/", site, fate, "") for fate in ("killed", "killed", "killed", "survived", "stillborn")]
        results.append(("b/", site, "stillborn", ""))
        rows = mutants.table(results, ["a/", "b/"])
        self.assertEqual(rows[1].split(), ["a/", "3", "1", "1", "75%"])
        self.assertEqual(rows[2].split(), ["b/", "0", "0", "1", "-"])
        self.assertEqual(rows[3].split(), ["total", "3", "1", "2", "75%"])


if __name__ == "__main__":
    unittest.main()
