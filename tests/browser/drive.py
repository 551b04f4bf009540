#!/usr/bin/env python3
"""Drives a headless browser through a page and keeps what it saw.

    drive.py chromium|firefox URL OUT STEP...

Steps, in order: open:HASH (loads URL at that hash afresh), click:CSS (clicks
the first element the selector finds, then lets the page answer), dom:NAME
(writes the page as the browser made it to OUT/NAME), shot:NAME (writes a
1000x700 screenshot to OUT/NAME). Chromium is driven by chromedriver over
WebDriver; Firefox by its own Marionette protocol, there being no
geckodriver in Debian. Standard library only.
"""
import base64
import json
import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

ELEMENT = "element-6066-11e4-a52e-4f735466cecf"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def connect(port, seconds=60):
    deadline = time.time() + seconds
    while True:
        try:
            return socket.create_connection(("127.0.0.1", port), timeout=60)
        except OSError:
            if time.time() > deadline:
                raise
            time.sleep(0.2)


class Chromium:
    def __init__(self):
        self.port = free_port()
        self.process = subprocess.Popen(["chromedriver", f"--port={self.port}"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        connect(self.port).close()
        args = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--hide-scrollbars",
                "--window-size=1000,700"]
        session = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
            "goog:chromeOptions": {"binary": "/usr/bin/chromium", "args": args}}}})
        self.session = "/session/" + session["sessionId"]

    def call(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(f"http://127.0.0.1:{self.port}{path}", data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=120) as reply:
            return json.load(reply)["value"]

    def navigate(self, url):
        self.call("POST", self.session + "/url", {"url": url})

    def source(self):
        return self.call("GET", self.session + "/source")

    def click(self, css):
        found = self.call("POST", self.session + "/element", {"using": "css selector", "value": css})
        self.call("POST", f"{self.session}/element/{found[ELEMENT]}/click", {})

    def screenshot(self):
        return base64.b64decode(self.call("GET", self.session + "/screenshot"))

    def close(self):
        try:
            self.call("DELETE", self.session)
        finally:
            self.process.terminate()
            self.process.wait()


class Firefox:
    def __init__(self):
        self.profile = tempfile.TemporaryDirectory()
        port = free_port()
        with open(os.path.join(self.profile.name, "user.js"), "w") as prefs:
            prefs.write(f'user_pref("marionette.port", {port});\n')
            prefs.write('user_pref("browser.shell.checkDefaultBrowser", false);\n')
        self.process = subprocess.Popen(
            ["firefox-esr", "--headless", "--marionette", "--no-remote", "--profile", self.profile.name,
             "--width=1000", "--height=700"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.socket = connect(port)
        self.pending = b""
        self.read()  # the greeting
        self.id = 0
        self.call("WebDriver:NewSession", {"capabilities": {"alwaysMatch": {"acceptInsecureCerts": True}}})
        self.call("WebDriver:SetWindowRect", {"width": 1000, "height": 700})

    def read(self):
        while b":" not in self.pending:
            self.pending += self.socket.recv(65536)
        length, _, rest = self.pending.partition(b":")
        while len(rest) < int(length):
            rest += self.socket.recv(1 << 20)
        self.pending = rest[int(length):]
        return json.loads(rest[:int(length)])

    def call(self, command, parameters):
        self.id += 1
        message = json.dumps([0, self.id, command, parameters]).encode()
        self.socket.sendall(str(len(message)).encode() + b":" + message)
        _, _, error, result = self.read()
        if error:
            raise RuntimeError(f"{command}: {error}")
        return result

    def navigate(self, url):
        self.call("WebDriver:Navigate", {"url": url})

    def source(self):
        return self.call("WebDriver:GetPageSource", {})["value"]

    def click(self, css):
        found = self.call("WebDriver:FindElement", {"using": "css selector", "value": css})["value"]
        self.call("WebDriver:ElementClick", {"id": found[ELEMENT]})

    def screenshot(self):
        return base64.b64decode(self.call("WebDriver:TakeScreenshot", {})["value"])

    def close(self):
        try:
            self.call("Marionette:Quit", {"flags": ["eForceQuit"]})
        except (OSError, RuntimeError, ValueError):
            pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
        self.profile.cleanup()


def ready_source(driver):
    """The page's source once its script has marked the body ready: on a
    busy machine a browser may still be finishing the navigation when it
    is asked. After ten seconds, whatever the page holds."""
    for _ in range(50):
        source = driver.source()
        if "data-ready-ms=" in source:
            return source
        time.sleep(0.2)
    return driver.source()


def main(browser, url, out, steps):
    driver = Chromium() if browser == "chromium" else Firefox()
    try:
        for step in steps:
            kind, _, value = step.partition(":")
            if kind == "open":
                driver.navigate("about:blank")
                driver.navigate(url + value)
            elif kind == "click":
                driver.click(value)
                time.sleep(0.5)
            elif kind == "dom":
                with open(os.path.join(out, value), "w", encoding="utf-8") as page:
                    page.write(ready_source(driver))
            elif kind == "shot":
                with open(os.path.join(out, value), "wb") as picture:
                    picture.write(driver.screenshot())
            else:
                raise SystemExit(f"drive.py: unknown step {step}")
    finally:
        driver.close()


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in ("chromium", "firefox"):
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
