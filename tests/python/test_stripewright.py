"""The Python module on the library as built: its font strings and messages are
stripewright-encode's, its catalogue is the one --type takes, and it works in any locale.

Run with STRIPEWRIGHT_LIBRARY naming the library, the module on PYTHONPATH and SW_ENCODE_EXE
naming stripewright-encode."""

import os
import subprocess
import sys
import tempfile
import unittest

import stripewright

ENCODER = os.environ["SW_ENCODE_EXE"]


def encoder(type, data, checksum=False):
    """stripewright-encode's output line and message for one item."""
    args = [ENCODER, "--type", type] + (["--checksum"] if checksum else [])
    run = subprocess.run(args, input=(data + "\n").encode(), capture_output=True, check=False)
    message = run.stderr.decode().rstrip("\n")
    return run.stdout.decode().rstrip("\n"), message.removeprefix("line 1: ")


class EncodeTest(unittest.TestCase):
    def test_font_strings(self):
        for type, data, checksum in [
            ("25i", "1234567890", False),  # ends in a character above ASCII
            ("39", "CODE 39", True),
            ("Post", "123456789", False),
            ("128", "Code 128", False),
            ("GS1-128", "(01)09501101530003(17)140704(10)AB-123", False),
            ("imb", "01234567094987654321-01234567891", False),
        ]:
            with self.subTest(type=type, data=data):
                self.assertEqual(stripewright.encode(type, data, checksum=checksum),
                                 encoder(type, data, checksum)[0])

    def test_bad_data(self):
        for type, data in [("39", "café"), ("128", "€ 5"), ("Post", "1234"), ("ean13", "")]:
            with self.subTest(type=type, data=data):
                with self.assertRaises(ValueError) as caught:
                    stripewright.encode(type, data)
                self.assertEqual(str(caught.exception), encoder(type, data)[1])

    def test_bad_arguments(self):
        for call, error in [
            (lambda: stripewright.encode("3of9", "1"), ValueError),
            (lambda: stripewright.encode("128", "ab\0cd"), ValueError),
            (lambda: stripewright.encode("128", "\udc80"), ValueError),  # not UTF-8
            (lambda: stripewright.encode("25", 123), TypeError),
            (lambda: stripewright.face_name("39", "medium"), ValueError),
            (lambda: stripewright.face_name("3of9"), ValueError),
            (lambda: stripewright.takes_checksum("3of9"), ValueError),
        ]:
            with self.subTest(call=call):
                self.assertRaises(error, call)


class CatalogueTest(unittest.TestCase):
    def test_every_type_is_one_the_encoder_takes(self):
        types = stripewright.types()
        self.assertEqual(len(types), len(set(types)))
        for name, caption in types:
            with self.subTest(name=name):
                self.assertTrue(caption)
                self.assertIsInstance(stripewright.takes_checksum(name), bool)
                for height in ("short", "normal", "tall"):
                    self.assertTrue(stripewright.face_name(name, height).startswith("Sample "))
                run = subprocess.run([ENCODER, "--type", name, "1"], capture_output=True)
                self.assertNotEqual(run.returncode, 2, run.stderr)  # 2: a usage error

    def test_version_is_the_encoders(self):
        run = subprocess.run([ENCODER, "--version"], capture_output=True, check=True)
        self.assertEqual(run.stdout.decode().split(), ["stripewright-encode", stripewright.version()])


class LocaleTest(unittest.TestCase):
    def test_type_names_in_a_turkish_locale(self):
        # In Turkish the capital of "i" is not "I": type names are matched as ASCII whatever the
        # locale. Python takes its character classes from the environment.
        with tempfile.TemporaryDirectory() as folder:
            made = subprocess.run(["localedef", "-i", "tr_TR", "-f", "UTF-8",
                                   os.path.join(folder, "tr_TR.UTF-8")], capture_output=True)
            if made.returncode not in (0, 1) or not os.listdir(folder):
                self.skipTest("cannot make the tr_TR.UTF-8 locale")
            env = dict(os.environ, LOCPATH=folder, LC_ALL="tr_TR.UTF-8")
            script = ("import locale, stripewright as s; "
                      "assert locale.setlocale(locale.LC_CTYPE).startswith('tr_TR'); "
                      "print(s.encode('IMB', '01234567094987654321') == s.encode('imb', "
                      "'01234567094987654321'), s.takes_checksum('25I'), s.face_name('EAN13', 'TALL'))")
            run = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertEqual(run.stdout.decode().split(), ["True", "True", "Sample", "EAN13"])


if __name__ == "__main__":
    unittest.main()
