"""A small client for headless Chromium's DevTools protocol, over --remote-debugging-pipe.

Python's standard library only. Chromium reads commands from its file descriptor 3 and writes
replies and events to 4, each message one JSON object ended by a NUL byte.

    with Chromium() as browser:
        tab = browser.tab()
        tab.open("file:///tmp/out/index.html")          # waits for the load event
        cards = tab.eval("document.querySelectorAll('.card').length")
        png = tab.screenshot(1280, 800)
        for url in tab.requests: ...                     # every request the page made

Every browser gets a new empty profile, removed again on exit.
"""

import base64
import fcntl
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-default-apps", "--disable-extensions", "--mute-audio", "--hide-scrollbars",
    "--remote-debugging-pipe",
]


class DevToolsError(Exception):
    pass


def find_chromium():
    for name in (os.environ.get("QM_CHROMIUM"), "chromium", "chromium-browser"):
        if name and shutil.which(name):
            return shutil.which(name)
    raise DevToolsError("Chromium is missing (scripts/install-deps.sh installs Debian's chromium)")


class Chromium:
    def __init__(self, binary=None, timeout=60):
        self.timeout = timeout
        self.profile = tempfile.mkdtemp(prefix="qm-chromium.")
        to_child_r, self._to_child = os.pipe()
        self._from_child, from_child_w = os.pipe()
        # Above 4, so that moving them onto 3 and 4 in the child cannot overwrite one another.
        child_in = fcntl.fcntl(to_child_r, fcntl.F_DUPFD_CLOEXEC, 10)
        child_out = fcntl.fcntl(from_child_w, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(to_child_r)
        os.close(from_child_w)

        def onto_3_and_4():
            os.dup2(child_in, 3)
            os.dup2(child_out, 4)

        self.proc = subprocess.Popen(
            [binary or find_chromium(), *CHROMIUM_FLAGS, f"--user-data-dir={self.profile}", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=onto_3_and_4, close_fds=False)
        os.close(child_in)
        os.close(child_out)
        self._messages = queue.Queue()
        self._next_id = 0
        self._pending = []  # events read while waiting for something else
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        buffered = b""
        while True:
            chunk = os.read(self._from_child, 1 << 16)
            if not chunk:
                self._messages.put(None)
                return
            buffered += chunk
            *messages, buffered = buffered.split(b"\0")
            for m in messages:
                self._messages.put(json.loads(m))

    def _next_message(self, deadline):
        if self._pending:
            return self._pending.pop(0)
        left = deadline - time.monotonic()
        if left <= 0:
            raise DevToolsError("Chromium did not answer in time")
        try:
            message = self._messages.get(timeout=left)
        except queue.Empty:
            raise DevToolsError("Chromium did not answer in time") from None
        if message is None:
            raise DevToolsError("Chromium closed its pipe (did it start?)")
        return message

    def send(self, method, params=None, session=None, on_event=None):
        """Sends a command and returns its result; events met on the way go to on_event."""
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self._to_child, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + self.timeout
        while True:
            reply = self._next_message(deadline)
            if reply.get("id") == self._next_id:
                if "error" in reply:
                    raise DevToolsError(f"{method}: {reply['error'].get('message')}")
                return reply.get("result", {})
            if "method" in reply and on_event:
                on_event(reply)

    def wait_event(self, method, session, on_event):
        deadline = time.monotonic() + self.timeout
        while True:
            event = self._next_message(deadline)
            if "method" not in event:
                continue
            on_event(event)
            if event["method"] == method and event.get("sessionId") == session:
                return event

    def tab(self):
        targets = self.send("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        session = self.send("Target.attachToTarget", {"targetId": page["targetId"], "flatten": True})["sessionId"]
        return Tab(self, session)

    def close(self):
        try:
            self.send("Browser.close")
        except DevToolsError:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self._to_child)
        shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Tab:
    """One page: what it requested, what it logged, what threw."""

    def __init__(self, browser, session):
        self.browser = browser
        self.session = session
        self.requests = []   # URLs
        self.problems = []   # console errors, exceptions, policy violations
        for domain in ("Page", "Network", "Runtime", "Log"):
            self._send(f"{domain}.enable")
        # A headless page never has the window's focus, so :focus would never match.
        self._send("Emulation.setFocusEmulationEnabled", {"enabled": True})

    def _event(self, event):
        if event.get("sessionId") != self.session:
            return
        method, params = event["method"], event.get("params", {})
        if method == "Network.requestWillBeSent":
            self.requests.append(params["request"]["url"])
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.problems.append("exception: " + details.get("exception", {}).get("description", details["text"]))
        elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
            self.problems.append(f"{params['entry']['source']}: {params['entry']['text']}")
        elif method == "Runtime.consoleAPICalled" and params["type"] in ("error", "warning"):
            self.problems.append("console: " + " ".join(str(a.get("value")) for a in params["args"]))

    def _send(self, method, params=None):
        return self.browser.send(method, params, self.session, self._event)

    def open(self, url):
        """Loads the page anew (a blank page in between, so that a change of the address's hash
        alone is a full load too) and waits for its load event. Returns the milliseconds from
        the navigation to the load event."""
        self._send("Page.navigate", {"url": "about:blank"})
        self.browser.wait_event("Page.loadEventFired", self.session, self._event)
        start = time.monotonic()
        reply = self._send("Page.navigate", {"url": url})
        if reply.get("errorText"):
            raise DevToolsError(f"{url}: {reply['errorText']}")
        self.browser.wait_event("Page.loadEventFired", self.session, self._event)
        return (time.monotonic() - start) * 1000

    def eval(self, expression):
        """The value of a JavaScript expression (awaited when it is a promise), even when the
        page's own scripts are disabled."""
        reply = self._send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                 "awaitPromise": True})
        if "exceptionDetails" in reply:
            raise DevToolsError(f"{expression[:60]}...: {reply['exceptionDetails']['text']}")
        return reply["result"].get("value")

    def scripts_enabled(self, enabled):
        self._send("Emulation.setScriptExecutionDisabled", {"value": not enabled})

    def viewport(self, width, height, mobile=False, scale=1):
        self._send("Emulation.setDeviceMetricsOverride", {"width": width, "height": height,
                                                          "deviceScaleFactor": scale, "mobile": mobile})

    def screenshot(self, path):
        data = self._send("Page.captureScreenshot", {"format": "png"})["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
