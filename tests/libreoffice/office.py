"""One headless LibreOffice for the tests and the benchmark: a scratch profile and home, the
extension unpacked from its .oxt as a bundled extension (so nothing is installed), the build's
bar code fonts in the scratch home's font folder, and a UNO connection over a pipe.

Needs /usr/bin/python3 with python3-uno."""
import os
import pathlib
import shutil
import subprocess
import tempfile
import time
import zipfile

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException


def props(**values):
    result = []
    for name, value in values.items():
        p = PropertyValue()
        p.Name, p.Value = name, value
        result.append(p)
    return tuple(result)


class Office:
    """Starts soffice on entry and ends it on exit. `work` is the scratch folder."""

    def __init__(self, oxt, font_dir, library, keep=None):
        self.oxt, self.font_dir, self.library, self.keep = oxt, font_dir, library, keep

    def __enter__(self):
        if self.keep:
            self.work = pathlib.Path(self.keep).resolve()
            shutil.rmtree(self.work, ignore_errors=True)
            self.work.mkdir(parents=True)
        else:
            self._tmp = tempfile.TemporaryDirectory(prefix="sw-office-")
            self.work = pathlib.Path(self._tmp.name)
        self.extension = self.work / "extensions" / "stripewright"
        with zipfile.ZipFile(self.oxt) as z:
            z.extractall(self.extension)
        home = self.work / "home"
        (home / ".local" / "share").mkdir(parents=True)
        (home / ".local" / "share" / "fonts").symlink_to(pathlib.Path(self.font_dir).resolve())
        env = dict(os.environ, HOME=str(home), STRIPEWRIGHT_LIBRARY=str(self.library),
                   PYTHONDONTWRITEBYTECODE="1")
        env.pop("DISPLAY", None)
        pipe = "sw_office_%d" % os.getpid()
        self.process = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
             "--nolockcheck", "-env:UserInstallation=" + (self.work / "profile").as_uri(),
             "-env:BUNDLED_EXTENSIONS=" + (self.work / "extensions").as_uri(),
             "--accept=pipe,name=%s;urp;" % pipe],
            env=env, stdout=subprocess.DEVNULL, stderr=open(self.work / "soffice.log", "wb"))
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        url = "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe
        # The first start with a new profile registers the extension; on a busy machine that
        # takes a while. Give up when soffice has ended or after a generous bound.
        deadline = time.monotonic() + 300
        while True:
            try:
                self.ctx = resolver.resolve(url)
                break
            except NoConnectException:
                if self.process.poll() is not None or time.monotonic() > deadline:
                    self._stop()
                    raise RuntimeError("soffice did not start: see %s" %
                                       (self.work / "soffice.log"))
                time.sleep(0.2)
        self.smgr = self.ctx.ServiceManager
        self.desktop = self.smgr.createInstanceWithContext("com.sun.star.frame.Desktop",
                                                           self.ctx)
        return self

    def __exit__(self, *exc):
        try:
            self.desktop.terminate()
        except Exception:
            pass  # the connection goes down with soffice
        self._stop()
        if not self.keep:
            self._tmp.cleanup()

    def _stop(self):
        try:
            self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def new(self, kind, hidden=True):
        """A new document: kind "scalc" or "swriter"."""
        return self.desktop.loadComponentFromURL("private:factory/" + kind, "_blank", 0,
                                                 props(Hidden=hidden))

    def load(self, path, hidden=True):
        return self.desktop.loadComponentFromURL(pathlib.Path(path).resolve().as_uri(),
                                                 "_blank", 0, props(Hidden=hidden))

    def pdf(self, document, path, filter_name):
        document.storeToURL(pathlib.Path(path).resolve().as_uri(),
                            props(FilterName=filter_name))
