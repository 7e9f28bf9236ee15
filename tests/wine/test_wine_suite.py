#!/usr/bin/env python3
"""The Wine suite's own rules: how a path that korvik.exe prints under Wine is read back into the
Linux spelling, which cases are left to Linux, and how the differential fuzzer mends a script."""

import os
import sys
import types
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wine_suite  # noqa: E402
import differential  # noqa: E402

ROOT = "/work/x/build-win"
WORKDIR = ROOT + "/wine-suite-ab/mailzolka-scenario-cd"


def linux(text):
    return wine_suite.to_linux_paths(text, WORKDIR, ROOT, "B:")


class PathsTest(unittest.TestCase):
    def test_a_rendered_path_below_the_case_directory_becomes_tmp_with_slashes(self):
        rendered = "書き出せませんでした: B:\\\\wine-suite-ab\\\\mailzolka-scenario-cd\\\\missing\\\\out.csv"
        self.assertEqual(linux(rendered), "書き出せませんでした: $TMP/missing/out.csv")

    def test_a_plain_path_becomes_tmp_with_slashes(self):
        self.assertEqual(linux("in B:\\wine-suite-ab\\mailzolka-scenario-cd\\QOR.INI now"),
                         "in $TMP/QOR.INI now")

    def test_the_directory_itself_and_a_field_after_it(self):
        self.assertEqual(linux("B:\\wine-suite-ab\\mailzolka-scenario-cd\tnext"), "$TMP\tnext")

    def test_other_backslashes_stay(self):
        text = "label \\\\ with B:\\\\other\\\\place and C:\\\\x"
        self.assertEqual(linux(text), text)

    def test_a_longer_directory_name_is_not_taken_for_the_case_directory(self):
        text = "B:\\wine-suite-ab\\mailzolka-scenario-cdef\\x"
        self.assertEqual(linux(text), text)


class PlatformSpecificTest(unittest.TestCase):
    @staticmethod
    def case(*sections):
        return types.SimpleNamespace(
            find=lambda name: [types.SimpleNamespace(args=args) for n, args in sections if n == name])

    def test_a_case_that_replaces_the_linux_module_is_left_to_linux(self):
        self.assertIsNotNone(wine_suite.platform_specific(self.case(("addin-file", ["QORMAIL.so", "hex"]))))

    def test_a_file_beside_the_module_runs_on_both(self):
        self.assertIsNone(wine_suite.platform_specific(self.case(("addin-file", ["QOR.DAT", "hex"]))))

    def test_a_log_named_beyond_the_code_pages_is_left_to_linux(self):
        self.assertIsNone(wine_suite.platform_specific(self.case(("log", ["忘年会.log", "@mails3"]))))
        self.assertIsNotNone(wine_suite.platform_specific(self.case(("log", ["忘年会.log", "@mails3"])), "cp1252"))
        self.assertIsNotNone(wine_suite.platform_specific(self.case(("log", ["Café.log", "@mails3"]))))
        self.assertIsNone(wine_suite.platform_specific(self.case(("log", ["mails.log", "noeol", "@mails3"]))))


class RepairTest(unittest.TestCase):
    SCRIPT = ["attach", "activate", "answer yes", "select 0.3", "command 130", "dump"]

    def mend(self, line, message, stdout=()):
        result = wine_suite.scenarios.Result(list(stdout), [f"mailzolka: script.txt:{line}: {message}"], 2, {})
        return differential.repaired(self.SCRIPT, result, differential.random.Random(1))

    def test_a_command_naming_no_item_is_dropped(self):
        self.assertEqual(self.mend(4, "select: no tree item at path 0.3"),
                         ["attach", "activate", "answer yes", "command 130", "dump"])

    def test_a_box_without_an_answer_gets_one_its_buttons_take(self):
        box = "MessageBox\tQORMAIL\tOK\tEXCLAMATION\t該当なし"
        mended = self.mend(5, 'message box "該当なし" has no queued answer', ["Dialog\t131\tx", box])
        self.assertEqual(mended, self.SCRIPT[:4] + ["answer ok"] + self.SCRIPT[4:])

    def test_a_queued_action_that_does_not_fit_goes(self):
        mended = self.mend(5, "queued action 'answer yes' does not fit dialog 137 \"ID\"")
        self.assertEqual(mended, ["attach", "activate", "select 0.3", "command 130", "dump"])

    def test_only_script_errors_are_mended(self):
        result = wine_suite.scenarios.Result([], ["mailzolka: cannot load add-in module"], 2, {})
        self.assertIsNone(differential.repaired(self.SCRIPT, result, differential.random.Random(1)))


if __name__ == "__main__":
    unittest.main()
